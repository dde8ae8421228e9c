#include "core/access/user_register.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/admin_screen.h"
#include "gui/screens/sign_in_screen.h"
#include "gui/windows/main_window.h"
#include "support/recording_document_view.h"
#include "support/temp_folder.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace velmora;
using velmora::test::RecordingDocumentView;
using velmora::test::TempFolder;

namespace {

QString shownTexts() {
    QStringList texts;
    for (const MessageBoxes::Shown& s : MessageBoxes::shown()) {
        texts.append(s.caption + QStringLiteral(": ") + s.text);
    }
    return texts.join(QLatin1Char('\n'));
}

class AccessFlows : public ::testing::Test {
protected:
    AccessFlows() {
        MessageBoxes::clearShown();
        folder.write(QStringLiteral("users"), QByteArray());
        folder.write(QStringLiteral("data/info/tumb.db"), "boss|pw|log.txt\r\n");
    }

    void start() {
        window = std::make_unique<MainWindow>(RecordingDocumentView::factory());
        window->show();
    }
    void type(const QString& name, const QString& password) const {
        window->signInContent()->nameBox()->setText(name);
        window->signInContent()->passwordBox()->setText(password);
    }
    void click(const char* button) const {
        auto* b = window->findChild<QToolButton*>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
    void trigger(const char* item) const {
        QAction* action = window->menuItem(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
    bool enabled(const char* item) const {
        const QAction* action = window->menuItem(QString::fromLatin1(item));
        EXPECT_NE(action, nullptr) << item;
        return action != nullptr && action->isEnabled();
    }
    bool visible(const char* item) const {
        const QAction* action = window->menuItem(QString::fromLatin1(item));
        EXPECT_NE(action, nullptr) << item;
        return action != nullptr && action->isVisible();
    }
    QStringList comboItems() const {
        QStringList items;
        for (int i = 0; i < window->comboBox1()->count(); ++i) {
            items.append(window->comboBox1()->itemText(i));
        }
        return items;
    }
    void storeStudent(const QString& name, const QString& password,
                      const QList<int>& grades) const {
        IniValues values{{QStringLiteral("password"), password}};
        for (int n = 1; n <= grades.size(); ++n) {
            values.append({UserRegister::testKey(n), QString::number(grades[n - 1])});
        }
        writeiniValues(name, values, UserRegister::path());
    }
    QString stored(const QString& name, int test) const {
        return readini(name, UserRegister::testKey(test), UserRegister::path());
    }
    void closeWindow() {
        QSignalSpy closed(window.get(), &MainWindow::closed);
        window->close();
        EXPECT_EQ(closed.count(), 1);
    }

    TempFolder folder;
    std::unique_ptr<MainWindow> window;
};

TEST_F(AccessFlows, StartUpLoadsTheListAndTheSettings) {
    folder.write(QStringLiteral("users"), CodePage::encode(u"Ivan\r\nӘсел\r\n"));
    folder.write(QStringLiteral("data/info/tumb.db"), "boss|pw|log.txt\r\nsecond|line|\r\n");
    start();
    EXPECT_EQ(shownTexts(), QString());
    EXPECT_EQ(comboItems(), (QStringList{QStringLiteral("Ivan"), QStringLiteral("Әсел")}));
    EXPECT_FALSE(window->comboBox1()->isVisibleTo(window->progressScreen()));
    EXPECT_EQ(window->adminlogin, QStringLiteral("boss"));
    EXPECT_EQ(window->adminpassword, QStringLiteral("pw"));
    EXPECT_EQ(window->reportfile, QStringLiteral("log.txt"));
    const AdminScreen* admin = window->adminContent();
    EXPECT_EQ(admin->loginBox()->text(), QStringLiteral("boss"));
    EXPECT_EQ(admin->passwordBox()->text(), QStringLiteral("pw"));
    EXPECT_EQ(admin->passwordAgainBox()->text(), QStringLiteral("pw"));
    EXPECT_EQ(admin->reportFileBox()->text(), QStringLiteral("log.txt"));
    EXPECT_TRUE(window->signInScreen()->isVisible());
    EXPECT_FALSE(visible("N0"));
    EXPECT_EQ(window->signedin, 0);
    EXPECT_EQ(window->signInContent()->parentWidget(), window->signInScreen());
    EXPECT_EQ(window->adminContent()->parentWidget(), window->adminScreen());
}

TEST_F(AccessFlows, AMissingUserListIsShownAndStartUpGoesOn) {
    QFile::remove(folder.file(QStringLiteral("users")));
    start();
    EXPECT_EQ(shownTexts(),
              QStringLiteral("ЭУИ Velmora: Cannot open file \"%1\". No such file or directory.")
                  .arg(folder.file(QStringLiteral("users"))));
    EXPECT_FALSE(visible("N0"));
    EXPECT_TRUE(window->signInScreen()->isVisible());
    EXPECT_FALSE(window->documentScreen()->isVisible());
    EXPECT_EQ(window->adminlogin, QStringLiteral("boss"));
}

TEST_F(AccessFlows, UnreadableSettingsLeaveTheDesignTextsAndNoAdministrator) {
    QDir(folder.file(QStringLiteral("data"))).removeRecursively();
    start();
    EXPECT_EQ(shownTexts(), QStringLiteral("ЭУИ Velmora: Invalid filename."));
    EXPECT_EQ(window->adminContent()->loginBox()->text(), QStringLiteral("Edit3"));
    EXPECT_EQ(window->adminContent()->reportFileBox()->text(), QStringLiteral("Edit6"));
    EXPECT_TRUE(window->adminlogin.isEmpty());
    MessageBoxes::clearShown();
    type(QString(), QString()); // would be the administrator's login and password
    click("SpeedButton3");
    EXPECT_EQ(shownTexts(), QStringLiteral("Error: Проверьте правильность имени и пароля!"));
    EXPECT_EQ(window->signedin, 0);
}

TEST_F(AccessFlows, ANewStudentRegistersAndSignsInWithLaterLecturesLocked) {
    start();
    type(QStringLiteral("Айгүл"), QStringLiteral("qwerty"));
    click("SpeedButton1");
    EXPECT_EQ(shownTexts(),
              QStringLiteral("Information: Пользователь зарегистрирован.Нажмите \"Далее>>\""));
    EXPECT_EQ(comboItems(), QStringList{QStringLiteral("Айгүл")});
    EXPECT_EQ(folder.read(QStringLiteral("users")), CodePage::encode(u"Айгүл\r\n"));
    EXPECT_TRUE(window->signInScreen()->isVisible()); // registration changes no screen

    MessageBoxes::clearShown();
    type(QStringLiteral("АЙГҮЛ"), QStringLiteral("qwerty"));
    QTest::keyClick(window->signInContent()->passwordBox(), Qt::Key_Return);
    EXPECT_EQ(shownTexts(), QString());
    EXPECT_EQ(window->signedin, 1);
    EXPECT_EQ(window->username, QStringLiteral("АЙГҮЛ"));
    EXPECT_TRUE(window->documentScreen()->isVisible());
    EXPECT_FALSE(window->signInScreen()->isVisible());
    for (const char* item : {"N0", "nlab", "Nprak", "Nrk", "Nadm", "Ni"}) {
        EXPECT_TRUE(visible(item)) << item;
    }
    for (const char* item : {"notch", "Ntun", "nred", "NaFormuAvtorizazii"}) {
        EXPECT_FALSE(visible(item)) << item;
    }
    EXPECT_FALSE(window->comboBox1()->isVisibleTo(window->progressScreen()));
    EXPECT_TRUE(enabled("n1"));
    EXPECT_TRUE(enabled("test1"));
    for (const char* item : {"N2", "test2", "N3", "test3", "N33", "test4", "N34", "test5"}) {
        EXPECT_FALSE(enabled(item)) << item;
    }
    EXPECT_EQ(window->grades[1], 1);
}

TEST_F(AccessFlows, StoredGradesDecideWhichItemsAreOpen) {
    storeStudent(QStringLiteral("ivan"), QStringLiteral("p"), {4, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    start();
    type(QStringLiteral("ivan"), QStringLiteral("p"));
    click("SpeedButton3");
    EXPECT_TRUE(enabled("N2"));
    EXPECT_TRUE(enabled("test2"));
    for (const char* item : {"N3", "test3", "N33", "test4", "N34", "test5"}) {
        EXPECT_FALSE(enabled(item)) << item;
    }
}

TEST_F(AccessFlows, RefusedSignInsChangeNothing) {
    storeStudent(QStringLiteral("ivan"), QStringLiteral("p"), {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5});
    start();
    type(QStringLiteral("ivan"), QStringLiteral("P"));
    click("SpeedButton3");
    EXPECT_EQ(shownTexts(), QStringLiteral("Error: Проверьте правильность имени и пароля!"));
    MessageBoxes::clearShown();
    type(QStringLiteral("boss"), QStringLiteral("wrong")); // the administrator: refused silently
    click("SpeedButton3");
    type(QStringLiteral("Boss"), QStringLiteral("pw")); // letter case counts for the administrator
    click("SpeedButton3");
    EXPECT_EQ(shownTexts(), QStringLiteral("Error: Проверьте правильность имени и пароля!"));
    EXPECT_EQ(window->signedin, 0);
    EXPECT_TRUE(window->signInScreen()->isVisible());
    EXPECT_FALSE(visible("N0"));
    EXPECT_EQ(window->signInContent()->nameBox()->text(), QStringLiteral("Boss"));
}

TEST_F(AccessFlows, TheAdministratorSignsInWithTheUserListAndAllItemsOpen) {
    folder.write(QStringLiteral("users"), "Ivan\r\n");
    start();
    type(QStringLiteral("boss"), QStringLiteral("pw"));
    click("SpeedButton3");
    EXPECT_EQ(shownTexts(), QString());
    EXPECT_EQ(window->signedin, 1);
    EXPECT_EQ(window->username, QStringLiteral("boss"));
    for (const char* item : {"N0", "Nadm", "notch", "Ntun", "nred"}) {
        EXPECT_TRUE(visible(item)) << item;
    }
    EXPECT_FALSE(visible("NaFormuAvtorizazii"));
    EXPECT_TRUE(window->comboBox1()->isVisibleTo(window->progressScreen()));
    for (const char* item : {"N2", "test2", "N34", "test5"}) {
        EXPECT_TRUE(enabled(item)) << item;
    }
}

TEST_F(AccessFlows, ANonNumericGradeStopsTheSignInHalfWay) {
    storeStudent(QStringLiteral("ivan"), QStringLiteral("p"), {1, 4});
    writeini(QStringLiteral("ivan"), QStringLiteral("test3"), QStringLiteral("x"),
             UserRegister::path());
    start();
    type(QStringLiteral("ivan"), QStringLiteral("p"));
    click("SpeedButton3");
    EXPECT_EQ(shownTexts(), QStringLiteral("ЭУИ Velmora: 'x' is not a valid integer value."));
    EXPECT_EQ(window->signedin, 0);
    EXPECT_EQ(window->grades[2], 4);
    EXPECT_FALSE(enabled("N2")); // the lock of test 1 was applied before the failure
    EXPECT_TRUE(window->signInScreen()->isVisible());
    EXPECT_FALSE(visible("N0"));

    // A later sign-in follows its own grades only.
    MessageBoxes::clearShown();
    storeStudent(QStringLiteral("olga"), QStringLiteral("p"), {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5});
    type(QStringLiteral("olga"), QStringLiteral("p"));
    click("SpeedButton3");
    EXPECT_EQ(window->signedin, 1);
    EXPECT_TRUE(enabled("N2"));
}

TEST_F(AccessFlows, RegistrationRefusalsWriteNothing) {
    storeStudent(QStringLiteral("ivan"), QStringLiteral("p"), {1});
    folder.write(QStringLiteral("users"), "ivan\r\n");
    start();
    const QByteArray registerBefore = folder.read(QStringLiteral("users.ini"));
    const std::pair<QString, QString> refused[] = {
        {QStringLiteral("IVAN"),
         QStringLiteral("Error: Пользователь с таким именем уже зарегистрирован!")},
        {QStringLiteral("BOSS"),
         QStringLiteral("Error: Пользователь с таким именем уже зарегистрирован!")},
        {QStringLiteral("a|b"), QStringLiteral("Error: Недопустимое имя пользователя!")},
        {QString(), QStringLiteral("Error: Недопустимое имя пользователя!")},
    };
    for (const auto& [name, message] : refused) {
        MessageBoxes::clearShown();
        type(name, QStringLiteral("x"));
        click("SpeedButton1");
        EXPECT_EQ(shownTexts(), message) << name.toStdString();
    }
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), registerBefore);
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("ivan\r\n"));
    EXPECT_EQ(comboItems(), QStringList{QStringLiteral("ivan")});
}

TEST_F(AccessFlows, DeletionWithTheRightPasswordIsSilent) {
    storeStudent(QStringLiteral("Ivan"), QStringLiteral("p"), {1});
    folder.write(QStringLiteral("users"), "Olga\r\nIvan\r\n");
    start();
    type(QStringLiteral("ivan"), QStringLiteral("wrong"));
    click("SpeedButton2");
    EXPECT_EQ(shownTexts(), QStringLiteral("Error: Проверьте правильность имени и пароля!"));
    EXPECT_EQ(comboItems().size(), 2);
    MessageBoxes::clearShown();
    type(QStringLiteral("ivan"), QStringLiteral("p"));
    click("SpeedButton2");
    EXPECT_EQ(shownTexts(), QString());
    EXPECT_EQ(comboItems(), QStringList{QStringLiteral("Olga")});
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("Olga\r\n"));
    EXPECT_EQ(readini(QStringLiteral("Ivan"), QStringLiteral("password"), UserRegister::path()),
              missingValue());
}

TEST_F(AccessFlows, CloseWritesTheSignedInUsersGradesBack) {
    storeStudent(QStringLiteral("ivan"), QStringLiteral("p"), {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 3});
    start();
    type(QStringLiteral("IVAN"), QStringLiteral("p"));
    click("SpeedButton3");
    window->grades[2] = 5; // a test finished meanwhile
    closeWindow();
    EXPECT_EQ(stored(QStringLiteral("ivan"), 1), QStringLiteral("4"));
    EXPECT_EQ(stored(QStringLiteral("ivan"), 2), QStringLiteral("5"));
    EXPECT_EQ(stored(QStringLiteral("ivan"), 11), QStringLiteral("0")); // never read at sign-in
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")).count('['), 1);
}

TEST_F(AccessFlows, CloseWithoutASignInWritesNothing) {
    storeStudent(QStringLiteral("ivan"), QStringLiteral("p"), {4});
    const QByteArray before = folder.read(QStringLiteral("users.ini"));
    start();
    type(QStringLiteral("ivan"), QStringLiteral("wrong"));
    click("SpeedButton3");
    closeWindow();
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), before);
}

TEST_F(AccessFlows, AFailedWriteBackIsShownAndTheProgramStillEnds) {
    storeStudent(QStringLiteral("ivan"), QStringLiteral("p"), {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    start();
    type(QStringLiteral("ivan"), QStringLiteral("p"));
    click("SpeedButton3");
    MessageBoxes::clearShown();
    QFile::setPermissions(folder.file(QStringLiteral("users.ini")), QFile::ReadOwner);
    closeWindow();
    const QList<MessageBoxes::Shown>& shown = MessageBoxes::shown();
    ASSERT_EQ(shown.size(), 2); // the exit question, then the failure
    EXPECT_EQ(
        shown[1].text,
        QStringLiteral("Unable to write to %1.").arg(folder.file(QStringLiteral("users.ini"))));
}

TEST_F(AccessFlows, TheAdministratorChangesTheSettings) {
    start();
    type(QStringLiteral("boss"), QStringLiteral("pw"));
    click("SpeedButton3");
    trigger("Ntun");
    EXPECT_TRUE(window->adminScreen()->isVisible());
    for (QFrame* other : {window->documentScreen(), window->signInScreen(), window->memoScreen(),
                          window->testScreen(), window->progressScreen()}) {
        EXPECT_FALSE(other->isVisible()) << other->objectName().toStdString();
    }
    AdminScreen* admin = window->adminContent();
    const auto fill = [&](const char* login, const char* password, const char* again,
                          const char* file) {
        admin->loginBox()->setText(QString::fromUtf8(login));
        admin->passwordBox()->setText(QString::fromUtf8(password));
        admin->passwordAgainBox()->setText(QString::fromUtf8(again));
        admin->reportFileBox()->setText(QString::fromUtf8(file));
    };
    fill("neo", "one", "two", "r.txt");
    click("SpeedButton7");
    fill("", "one", "one", "r.txt");
    click("SpeedButton7");
    fill("neo", "one", "one", "r|txt");
    click("SpeedButton7");
    EXPECT_EQ(
        shownTexts(),
        QStringLiteral("Error: Проверьте пароль!\nError: Недопустимые настройки администратора!\n"
                       "Error: Недопустимые настройки администратора!"));
    EXPECT_EQ(folder.read(QStringLiteral("data/info/tumb.db")), QByteArray("boss|pw|log.txt\r\n"));

    MessageBoxes::clearShown();
    fill("neo", "one", "one", "r.txt");
    click("SpeedButton7");
    EXPECT_EQ(shownTexts(), QString());
    EXPECT_EQ(folder.read(QStringLiteral("data/info/tumb.db")), QByteArray("neo|one|r.txt\r\n"));
    EXPECT_EQ(window->adminlogin, QStringLiteral("boss")); // in force from the next start
    EXPECT_TRUE(window->adminScreen()->isVisible());

    click("SpeedButton6");
    EXPECT_FALSE(window->adminScreen()->isVisible());
    EXPECT_TRUE(window->documentScreen()->isVisible());
}

TEST_F(AccessFlows, SignInFormBringsTheSignInScreenBackInFront) {
    start();
    window->showScreen(window->documentScreen());
    trigger("NaFormuAvtorizazii");
    EXPECT_TRUE(window->signInScreen()->isVisible());
    EXPECT_TRUE(window->documentScreen()->isVisible());
}

TEST_F(AccessFlows, EnableFindsItemsWithoutLetterCaseAndPassesOverMissingOnes) {
    start();
    window->enable(QStringLiteral("test1"), 0);
    EXPECT_FALSE(enabled("N2"));
    EXPECT_FALSE(enabled("test2"));
    window->enable(QStringLiteral("test1"), 1);
    EXPECT_TRUE(enabled("N2"));
    window->enable(QStringLiteral("test5"), 0); // lecture 6 and test 6 are not in the menu
    window->enable(QStringLiteral("test10"), 0);
    window->enable(QStringLiteral("TEST1"), 0);
    EXPECT_TRUE(enabled("N2"));
}

// Copies the ready course folder into `target`.
void copyCourse(const QString& source, const QString& target) {
    QDirIterator it(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString copy = target + QLatin1Char('/') + QDir(source).relativeFilePath(file);
        QDir().mkpath(QFileInfo(copy).absolutePath());
        QFile::copy(file, copy);
    }
}

// On the course folder: a new student registers and signs in with lectures 2 to 5 and tests 2 to
// 5 greyed; at the next start the administrator signs in with the installed settings, changes
// them, and the new line is in the file.
TEST(CourseFolder, StudentAndAdministratorRoad) {
    const QString course = qEnvironmentVariable("VELMORA_SOURCE_DIR") + QStringLiteral("/course");
    ASSERT_TRUE(QFileInfo::exists(course));
    const TempFolder folder;
    copyCourse(course, folder.path());
    if (!QFileInfo::exists(folder.file(QStringLiteral("users")))) {
        folder.write(QStringLiteral("users"), QByteArray());
    }
    if (!QFileInfo::exists(folder.file(QStringLiteral("data/info/tumb.db")))) {
        folder.write(QStringLiteral("data/info/tumb.db"), "admin|admin|data\\info\\report.txt\r\n");
    }
    MessageBoxes::clearShown();
    const DocumentViewFactory makeView = RecordingDocumentView::factory();
    {
        MainWindow window(makeView);
        window.show();
        window.signInContent()->nameBox()->setText(QStringLiteral("Жаңа студент"));
        window.signInContent()->passwordBox()->setText(QStringLiteral("құпия"));
        window.signInContent()->registerButton()->click();
        window.signInContent()->signInButton()->click();
        EXPECT_EQ(window.signedin, 1);
        for (const char* item : {"N2", "N3", "N33", "N34", "test2", "test3", "test4", "test5"}) {
            EXPECT_FALSE(window.menuItem(QString::fromLatin1(item))->isEnabled()) << item;
        }
        EXPECT_TRUE(window.menuItem(QStringLiteral("test1"))->isEnabled());
        window.close();
    }
    {
        MainWindow window(makeView);
        window.show();
        ASSERT_FALSE(window.adminlogin.isEmpty());
        window.signInContent()->nameBox()->setText(window.adminlogin);
        window.signInContent()->passwordBox()->setText(window.adminpassword);
        window.signInContent()->signInButton()->click();
        ASSERT_EQ(window.signedin, 1);
        window.menuItem(QStringLiteral("Ntun"))->trigger();
        window.adminContent()->loginBox()->setText(QStringLiteral("teacher"));
        window.adminContent()->passwordBox()->setText(QStringLiteral("new"));
        window.adminContent()->passwordAgainBox()->setText(QStringLiteral("new"));
        window.adminContent()->applyButton()->click();
        EXPECT_EQ(folder.read(QStringLiteral("data/info/tumb.db")),
                  QByteArray("teacher|new|") + CodePage::encode(window.reportfile) + "\r\n");
        window.close();
    }
    QStringList messages;
    for (const MessageBoxes::Shown& s : MessageBoxes::shown()) {
        messages.append(s.text);
    }
    EXPECT_EQ(messages,
              (QStringList{QStringLiteral("Пользователь зарегистрирован.Нажмите \"Далее>>\""),
                           QStringLiteral("Вы действительно хотите выйти из программы?"),
                           QStringLiteral("Вы действительно хотите выйти из программы?")}));
}

} // namespace
