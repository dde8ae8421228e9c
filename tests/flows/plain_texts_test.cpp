// SPDX-License-Identifier: GPL-3.0-or-later
// What people typed is shown as the text it is, never as markup: a student named like HTML, a
// question and an answer holding tags, a course document about tags and a question bank whose
// title holds tags, walked through every screen and window in the states a student and the
// teacher meet, with every message box shown on the way.

#include "core/storage/code_page.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/progress_screen.h"
#include "gui/screens/user_list_box.h"
#include "gui/windows/course_search_window.h"
#include "gui/windows/group_journal_window.h"
#include "gui/windows/scrambling_tool.h"
#include "support/course_driver.h"
#include "support/test_file_builder.h"
#include "support/widget_tree.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using namespace Qt::StringLiterals;

const QString kName = u"<b>x</b><img src=\"x.png\">"_s;
const QString kQuestion = u"Что делает тег <br> в HTML?"_s;
const QString kAnswer = u"<i>Переносит</i> строку"_s;
const QString kDocumentTitle = u"Тег <b> и тег <br>"_s;
const QString kDocumentText = u"Тег <br> переносит строку"_s;
const QStringList kPlanted{kName, kQuestion, kAnswer, kDocumentTitle, kDocumentText};

void expectNoMarkup(const QWidget& root, const char* where) {
    const QStringList found = textsShownAsMarkup(&root, kPlanted);
    EXPECT_TRUE(found.isEmpty()) << where << ":\n  "
                                 << found.join(QStringLiteral("\n  ")).toStdString();
}

// Every box shown so far, made as it would be shown.
void expectNoMarkupInBoxes() {
    for (const MessageBoxes::Shown& shown : MessageBoxes::shown()) {
        const auto box =
            MessageBoxes::makeBox(nullptr, shown.kind, shown.caption, shown.text, false);
        expectNoMarkup(*box, shown.text.toUtf8().constData());
    }
}

class AnsweringChooser : public SourceFileChooser {
public:
    explicit AnsweringChooser(QString path) : path_(std::move(path)) {}
    std::optional<QString> choose(QWidget* /*parent*/) override { return path_; }

private:
    QString path_;
};

TEST(PlainTexts, NoWindowInAnyStateShowsWhatPeopleTypedAsMarkup) {
    CourseDriver course;
    QList<QuestionSpec> questions = numberedQuestions({1, 2});
    questions[0].text = kQuestion;
    questions[0].answers[0] = kAnswer;
    writeTestFile(u"test1"_s, questions, u"2"_s);
    course.folder().write(u"data/info/lig-1.html"_s,
                          u"<html><head><meta charset='utf-8'><title>Тег &lt;b&gt; и тег "
                          u"&lt;br&gt;</title></head><body><p>Тег &lt;br&gt; переносит строку."
                          u"</p></body></html>"_s.toUtf8());
    MessageBoxes::clearShown();
    const MainWindow& window = course.start();
    expectNoMarkup(window, "sign-in screen");

    course.registerStudent(kName, u"pw"_s);
    course.signIn(kName, u"pw"_s);
    expectNoMarkup(window, "document screen, student");
    course.startTest(1);
    expectNoMarkup(window, "test screen");
    course.answer({1, 1});
    EXPECT_EQ(course.nameShown(), kName);
    expectNoMarkup(window, "progress screen, student");
    course.leaveProgress();

    course.choose("NSearch");
    auto* search = findIn<CourseSearchWindow>(window, "courseSearch");
    ASSERT_NE(search, nullptr);
    QElapsedTimer clock;
    clock.start();
    while (search->status()->text() == u"Индекс строится..."_s && clock.elapsed() < 20'000) {
        QTest::qWait(20);
    }
    search->queryBox()->setText(u"переносит"_s);
    search->refresh();
    EXPECT_EQ(search->results()->count(), 1) << search->status()->text().toStdString();
    expectNoMarkup(*search, "course search with a result");
    search->close();

    course.choose("NaFormuAvtorizazii");
    course.signIn(u"admin"_s, u"admin"_s);
    expectNoMarkup(window, "administrator screen");
    course.choose("N30");
    expectNoMarkup(window, "test log");
    course.leaveTestLog();
    course.choose("Ni");
    course.pickUser(static_cast<int>(course.userList().indexOf(kName)));
    EXPECT_EQ(findIn<UserListBox>(course.window(), "ComboBox1")->currentText(), kName);
    expectNoMarkup(window, "progress screen, administrator");

    course.choose("njournal");
    auto* journal = findIn<GroupJournalWindow>(window, "JournalForm");
    ASSERT_NE(journal, nullptr);
    expectNoMarkup(*journal, "group journal, grades");
    findIn<QTabWidget>(*journal, "tabs")->setCurrentIndex(1);
    ASSERT_GE(findIn<QTableWidget>(*journal, "questions")->rowCount(), 1);
    EXPECT_EQ(toolTipAsRead(findIn<QTableWidget>(*journal, "questions")->item(0, 1)->toolTip()),
              kQuestion);
    expectNoMarkup(*journal, "group journal, questions");

    // A test log named after the student cannot be read: the failure and the journal's note
    // name it.
    course.choose("Ntun");
    course.applyAdminSettings(u"admin"_s, u"admin"_s, u"admin"_s, kName + u".txt"_s);
    const MainWindow& restarted = course.restart();
    course.signIn(u"admin"_s, u"admin"_s);
    course.choose("N30");
    course.choose("njournal");
    journal = findIn<GroupJournalWindow>(restarted, "JournalForm");
    ASSERT_NE(journal, nullptr);
    EXPECT_TRUE(findIn<QLabel>(*journal, "notes")->text().contains(kName))
        << findIn<QLabel>(*journal, "notes")->text().toStdString();
    expectNoMarkup(*journal, "group journal whose test log cannot be read");
    const auto named =
        std::count_if(MessageBoxes::shown().begin(), MessageBoxes::shown().end(),
                      [](const MessageBoxes::Shown& shown) { return shown.text.contains(kName); });
    EXPECT_GE(named, 1) << course.boxTexts().join(u'\n').toStdString();
    expectNoMarkupInBoxes();
}

TEST(PlainTexts, TheScramblingToolShowsABanksTitlesAsText) {
    const TempFolder folder;
    folder.write(u"bank.gift"_s, (u"::"_s + kName +
                                  u":: Земля круглая? {T}\n\n"
                                  u"::Столица:: Столица Казахстана? {=Астана ~Алматы ~Шымкент}\n"_s)
                                     .toUtf8());
    ScramblingTool tool;
    tool.setChooser(std::make_unique<AnsweringChooser>(folder.file(u"bank.gift"_s)));
    tool.show();
    MessageBoxes::clearShown();
    QTest::mouseClick(tool.findChild<QLineEdit*>(u"Edit10"_s), Qt::LeftButton);
    tool.findChild<QLineEdit*>(u"Edit9"_s)->setText(u"test1"_s);
    QTest::mouseClick(tool.findChild<QPushButton*>(u"Button1"_s), Qt::LeftButton);
    const auto named =
        std::count_if(MessageBoxes::shown().begin(), MessageBoxes::shown().end(),
                      [](const MessageBoxes::Shown& shown) { return shown.text.contains(kName); });
    EXPECT_EQ(named, 1) << MessageBoxes::shown().size();
    expectNoMarkup(tool, "scrambling tool after a bank");
    expectNoMarkupInBoxes();
}

} // namespace
} // namespace velmora::test
