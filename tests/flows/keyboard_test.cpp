// SPDX-License-Identifier: GPL-3.0-or-later
// A student's road with the keyboard alone: every key goes where the keyboard focus is (or to the
// open menu), as it does for a user without a mouse.

#include "core/program/course_state.h"
#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "gui/documents/document_screen.h"
#include "gui/documents/find_bar.h"
#include "gui/windows/course_search_window.h"
#include "gui/windows/group_journal_window.h"
#include "support/course_driver.h"
#include "support/recording_document_view.h"
#include "support/test_file_builder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

QWidget* keyboardTarget() {
    QWidget* popup = QApplication::activePopupWidget();
    return popup != nullptr ? popup : QApplication::focusWidget();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = keyboardTarget();
    ASSERT_NE(target, nullptr) << "nothing has the keyboard focus";
    QTest::keyClick(target, key, modifiers);
}

void type(const QString& text) {
    QWidget* target = keyboardTarget();
    ASSERT_NE(target, nullptr) << "nothing has the keyboard focus";
    QTest::keyClicks(target, text);
}

// Alt alone puts the keyboard on the menu bar; Right moves to the menu `index` (from 0), Down
// opens it and goes `down` items into it, Return chooses.
void chooseFromMenu(int index, int down) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt);
    for (int i = 0; i < index; ++i) {
        press(Qt::Key_Right);
    }
    press(Qt::Key_Down);
    for (int i = 1; i < down; ++i) {
        press(Qt::Key_Down);
    }
    press(Qt::Key_Return);
}

// The menu bar's entry, or the open menu's item, that the keyboard is on.
QString activeName(const MainWindow& window) {
    const QAction* active = nullptr;
    if (const auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        active = menu->activeAction();
    } else {
        active = window.findChild<QMenuBar*>()->activeAction();
    }
    if (active == nullptr) {
        return {};
    }
    return active->menu() != nullptr && active->objectName().isEmpty()
               ? active->menu()->objectName()
               : active->objectName();
}

// Alt, then → until the menu bar is on `entry`; a menu is opened with ↓ and gone down until
// `item`; Enter chooses.
void chooseByName(const MainWindow& window, const QString& entry, const QString& item = {}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt);
    for (int i = 0; i < 30 && activeName(window) != entry; ++i) {
        press(Qt::Key_Right);
    }
    ASSERT_EQ(activeName(window), entry);
    if (!item.isEmpty()) {
        press(Qt::Key_Down);
        for (int i = 0; i < 30 && activeName(window) != item; ++i) {
            press(Qt::Key_Down);
        }
        ASSERT_EQ(activeName(window), item);
    }
    press(Qt::Key_Return);
}

// Types text of any script, as a keyboard layout sends it: each letter a key event carrying it.
void typeLetters(const QString& text) {
    for (const QChar letter : text) {
        QWidget* target = keyboardTarget();
        ASSERT_NE(target, nullptr) << "nothing has the keyboard focus";
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(letter));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(letter));
        QApplication::sendEvent(target, &release);
    }
}

QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus == nullptr ? QString() : focus->objectName();
}

TEST(KeyboardAlone, AStudentRegistersSignsInReadsALectureAndTakesATest) {
    CourseDriver course;
    const QStringList answers = {QStringLiteral("A) бір"), QStringLiteral("B) екі"),
                                 QStringLiteral("C) үш"), QStringLiteral("D) төрт"),
                                 QStringLiteral("E) бес")};
    writeTestFile(QStringLiteral("test1"),
                  {{QStringLiteral("Бірінші?"), answers, QStringLiteral("2")},
                   {QStringLiteral("Екінші?"), answers, QStringLiteral("2")},
                   {QStringLiteral("Үшінші?"), answers, QStringLiteral("1")}},
                  QStringLiteral("3"));
    MainWindow& window = course.start();
    course.show();
    QApplication::setActiveWindow(&window);
    ASSERT_EQ(focusName(), QStringLiteral("Edit2"));

    type(QStringLiteral("Zhana"));
    press(Qt::Key_Tab);
    type(QStringLiteral("pw1"));
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), QStringLiteral("SpeedButton3")); // "Әрі қарай>>"
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), QStringLiteral("SpeedButton1")); // "Жаңа қолданушы"
    press(Qt::Key_Space);
    EXPECT_EQ(course.boxTexts().size(), 1);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    press(Qt::Key_Space);
    ASSERT_EQ(course.session().userName, QStringLiteral("Zhana"));
    // The focus left the sign-in screen with it: keys go to a control that is shown.
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(QApplication::focusWidget()->isVisible()) << focusName().toStdString();

    chooseFromMenu(0, 1);
    ASSERT_FALSE(course.documentView().navigations.isEmpty());
    EXPECT_TRUE(course.documentView().navigations.last().contains(QStringLiteral("lig-1")))
        << course.documentView().navigations.last().toStdString();

    chooseFromMenu(0, 2);
    ASSERT_EQ(course.state().testStage(), TestStage::Asking);
    for (int i = 0; i < 40 && course.state().testStage() == TestStage::Asking; ++i) {
        press(Qt::Key_B);
        press(Qt::Key_Return);
    }
    EXPECT_EQ(course.state().testStage(), TestStage::Result);
    // Two of three right.
    EXPECT_EQ(course.storedGrade(QStringLiteral("Zhana"), 1), QStringLiteral("4"));
}

// The teacher's road: signing in, the settings screen through Tab, the group journal and its
// second tab.
TEST(KeyboardAlone, TheAdministratorReachesSettingsAndTheJournal) {
    CourseDriver course;
    MainWindow& window = course.start();
    course.show();
    QApplication::setActiveWindow(&window);
    type(QStringLiteral("admin"));
    press(Qt::Key_Tab);
    type(QStringLiteral("admin"));
    press(Qt::Key_Return);
    ASSERT_TRUE(course.state().isVisible(QStringLiteral("Nadm")));

    chooseByName(window, QStringLiteral("Nadm"), QStringLiteral("Ntun"));
    QStringList reached;
    for (int i = 0; i < 8; ++i) {
        reached << focusName();
        press(Qt::Key_Tab);
    }
    // Every box of the settings and both buttons are on the way.
    for (const char* name : {"SpeedButton7", "SpeedButton6"}) {
        EXPECT_TRUE(reached.contains(QLatin1String(name))) << reached.join(u' ').toStdString();
    }
    while (focusName() != QStringLiteral("SpeedButton6") && reached.size() < 20) {
        reached << focusName();
        press(Qt::Key_Tab);
    }
    press(Qt::Key_Space); // "Назад"
    EXPECT_FALSE(findIn<QWidget>(window, "adminScreen")->isVisible());

    chooseByName(window, QStringLiteral("Nadm"), QStringLiteral("njournal"));
    auto* journal = findIn<GroupJournalWindow>(window, "JournalForm");
    ASSERT_TRUE(journal->isVisible());
    QApplication::setActiveWindow(journal);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(journal->isAncestorOf(QApplication::focusWidget()));
    // Tab comes round to the tabs' bar, where → goes to "Вопросы".
    for (int i = 0; i < 20 && qobject_cast<QTabBar*>(QApplication::focusWidget()) == nullptr; ++i) {
        press(Qt::Key_Tab);
    }
    press(Qt::Key_Right);
    EXPECT_EQ(findIn<QTabWidget>(*journal, "tabs")->currentIndex(), 1);
}

} // namespace
} // namespace velmora::test

namespace velmora::test {
namespace {

// A student finds a word in the page and switches the high-contrast look on and off, from the
// keyboard alone.
TEST(KeyboardAlone, AStudentFindsInAPageAndSwitchesTheHighContrastLook) {
    CourseDriver course;
    course.storeStudent(QStringLiteral("Zhana"), QStringLiteral("pw"),
                        {5, 4, 3, 2, 1, 0, 0, 0, 0, 0});
    MainWindow& window = course.start();
    course.show();
    QApplication::setActiveWindow(&window);
    course.documentView().pageText = QStringLiteral("Velmora, velmora and VELMORA");
    ASSERT_EQ(focusName(), QStringLiteral("Edit2"));
    type(QStringLiteral("Zhana"));
    press(Qt::Key_Tab);
    type(QStringLiteral("pw"));
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), QStringLiteral("SpeedButton3")); // "Әрі қарай>>"
    press(Qt::Key_Space);
    ASSERT_EQ(course.session().userName, QStringLiteral("Zhana"));

    press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(focusName(), QStringLiteral("findBox"));
    type(QStringLiteral("velmora"));
    EXPECT_EQ(course.documentView().highlighted, QStringLiteral("velmora"));
    EXPECT_EQ(findIn<QLabel>(window, "findCount")->text(), QStringLiteral("1 из 3"));
    press(Qt::Key_Return); // the next match
    EXPECT_EQ(findIn<QLabel>(window, "findCount")->text(), QStringLiteral("2 из 3"));
    press(Qt::Key_Escape);
    EXPECT_FALSE(findIn<QWidget>(window, "findBar")->isVisible());

    chooseByName(window, QStringLiteral("N21"), QStringLiteral("NContrast"));
    EXPECT_TRUE(course.state().highContrast());
    chooseByName(window, QStringLiteral("N21"), QStringLiteral("NContrast"));
    EXPECT_FALSE(course.state().highContrast());
}

// Searching the course: Ctrl+Shift+F, a word typed in Kazakh letters, ↓ at once (before the
// pause that runs the query) into the results and on to the second, Enter opens it with the find
// bar on the word, and the keys go on in the main window.
TEST(KeyboardAlone, AStudentSearchesTheCourseAndOpensASecondResult) {
    CourseDriver course;
    course.folder().write(
        QStringLiteral("data/info/lig-1.html"),
        QStringLiteral("<html><head><meta charset='utf-8'><title>Ақпараттық жүйелер</title></head>"
                       "<body><p>Ақпарат, ақпарат және ақпарат.</p></body></html>")
            .toUtf8());
    course.folder().write(QStringLiteral("data/info/lig-2.html"),
                          CodePage::encode(QStringLiteral(
                              "<html><body><p>Бизнес-процестер және ақпарат.</p></body></html>")));
    course.folder().write(QStringLiteral("data/help/sod.htm"), "<p>Contents</p>");
    course.storeStudent(QStringLiteral("Zhana"), QStringLiteral("pw"),
                        {5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    MainWindow& window = course.start();
    QApplication::setActiveWindow(&window);
    type(QStringLiteral("Zhana"));
    press(Qt::Key_Tab);
    type(QStringLiteral("pw"));
    press(Qt::Key_Return);
    ASSERT_EQ(course.session().userName, QStringLiteral("Zhana"))
        << focusName().toStdString() << course.boxTexts().join(u'|').toStdString();

    press(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    auto* search = findIn<CourseSearchWindow>(window, "courseSearch");
    ASSERT_TRUE(search->isVisible());
    // The new window takes the keyboard as the window system activates it.
    ASSERT_TRUE(QTest::qWaitFor([] { return focusName() == QStringLiteral("searchQuery"); }, 5000))
        << focusName().toStdString();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return search->status()->text() != QStringLiteral("Индекс строится..."); }, 20'000));
    typeLetters(QStringLiteral("АҚПАРАТ"));
    EXPECT_EQ(search->queryBox()->text(), QStringLiteral("АҚПАРАТ"));
    press(Qt::Key_Down);
    ASSERT_EQ(focusName(), QStringLiteral("searchResults"));
    ASSERT_EQ(search->results()->count(), 2);
    EXPECT_EQ(search->results()->currentRow(), 0);
    // (The other lectures of the course are not in this folder: the status names them after.)
    EXPECT_TRUE(search->status()->text().startsWith(QStringLiteral("Найдено: 2.")))
        << search->status()->text().toStdString();
    press(Qt::Key_Down);
    EXPECT_EQ(search->results()->currentRow(), 1);
    press(Qt::Key_Return);

    EXPECT_EQ(course.documentView().navigations.last(),
              programFolderPath(QStringLiteral("\\data\\info\\lig-2.html")));
    EXPECT_EQ(course.screenInFront(), 1);
    const FindBar* bar = findIn<DocumentScreen>(window, "documentScreen")->findBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->text(), QStringLiteral("ақпарат"));
    // The keys go on where the result is shown: Escape closes the find bar, not the search.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return QApplication::focusWidget() != nullptr &&
                   QApplication::focusWidget()->window() == &window;
        },
        5000))
        << focusName().toStdString();
    press(Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
}

} // namespace
} // namespace velmora::test
