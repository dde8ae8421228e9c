// SPDX-License-Identifier: GPL-3.0-or-later
// The results a course sends to its Learning Record Store, as students make them through the main
// window: each lands in the outbox in the step that writes the test log.

#include "core/results/outbox.h"
#include "core/results/results_status.h"
#include "gui/windows/group_journal_window.h"
#include "support/course_driver.h"
#include "support/first_attempt.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kResultsToml = "endpoint = \"http://127.0.0.1:9/xapi/\"\n"
                                "key = \"key\"\nsecret = \"secret\"\n"
                                "course = \"https://school.kz/courses/is-101\"\n";

QList<QJsonObject> outboxStatements(const CourseDriver& course) {
    QList<QJsonObject> statements;
    for (const Outbox::Entry& entry : Outbox(course.folder().path()).waiting()) {
        statements << QJsonDocument::fromJson(entry.line).object();
    }
    return statements;
}

QString verbOf(const QJsonObject& statement) {
    return statement.value(u"verb"_s).toObject().value(u"id"_s).toString().section(u'/', -1);
}

// The teacher's journal window, opened as the administrator opens it.
GroupJournalWindow& openJournal(const CourseDriver& course) {
    course.leaveProgress();
    course.choose("NaFormuAvtorizazii");
    course.signIn(u"admin"_s, u"admin"_s);
    course.choose("njournal");
    return *findIn<GroupJournalWindow>(course.window(), "JournalForm");
}

TEST(ResultsFlow, EveryRegistrationAnswerAndAttemptWaitsInTheOutboxWithItsResult) {
    CourseDriver course;
    course.folder().write(u"results.toml"_s, kResultsToml);
    registerAndTakeFirstTest(course);
    ASSERT_EQ(course.screenInFront(), 2) << "the grade is shown";

    const QList<QJsonObject> statements = outboxStatements(course);
    QStringList verbs;
    QSet<QString> ids;
    for (const QJsonObject& statement : statements) {
        verbs << verbOf(statement);
        ids.insert(statement.value(u"id"_s).toString());
        EXPECT_EQ(statement.value(u"actor"_s).toObject().value(u"account"_s).toObject(),
                  (QJsonObject{{u"homePage"_s, u"https://school.kz/courses/is-101"_s},
                               {u"name"_s, u"Айгүл"_s}}));
    }
    EXPECT_EQ(verbs, (QStringList{u"registered"_s, u"answered"_s, u"answered"_s, u"answered"_s,
                                  u"completed"_s}));
    EXPECT_EQ(ids.size(), statements.size()) << "each statement its own id";

    const QJsonObject& completed = statements.last();
    const QJsonObject result = completed.value(u"result"_s).toObject();
    EXPECT_EQ(QString::number(result.value(u"score"_s).toObject().value(u"raw"_s).toInt()),
              course.storedGrade(u"Айгүл"_s, 1));
    EXPECT_EQ(result.value(u"success"_s).toBool(), course.storedGrade(u"Айгүл"_s, 1).toInt() >= 3);
    EXPECT_EQ(completed.value(u"object"_s).toObject().value(u"id"_s).toString(),
              u"https://school.kz/courses/is-101/tests/test1"_s);

    // The answers: the file's question numbers, the letters chosen and right.
    QStringList answers;
    for (qsizetype i = 1; i <= 3; ++i) {
        const QJsonObject& answered = statements[i];
        const QJsonObject answer = answered.value(u"result"_s).toObject();
        answers
            << answered.value(u"object"_s).toObject().value(u"id"_s).toString().section(u'/', -1) +
                   answer.value(u"response"_s).toString() +
                   (answer.value(u"success"_s).toBool() ? u"+"_s : u"-"_s);
    }
    EXPECT_EQ(answers, (QStringList{u"1A+"_s, u"2B+"_s, u"3A-"_s}));

    // The teacher sees what waits, and after "Обновить" what the sender did meanwhile.
    GroupJournalWindow& journal = openJournal(course);
    const QLabel* status = findIn<QLabel>(journal, "resultsStatus");
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(status->text(), u"Отправлено: 0, в очереди: 5"_s);
    ResultsStatus::write(course.folder().path(), {5, u"LRS не ответил за 10 с"_s, false});
    Outbox(course.folder().path()).remove({statements[0].value(u"id"_s).toString()});
    findIn<QPushButton>(journal, "refresh")->click();
    EXPECT_EQ(status->text(), u"Отправлено: 5, в очереди: 4 — LRS не ответил за 10 с"_s);
}

TEST(ResultsFlow, ACourseWithoutResultsTomlWritesNoResultsFile) {
    CourseDriver course;
    registerAndTakeFirstTest(course);
    EXPECT_EQ(course.screenInFront(), 2);
    EXPECT_EQ(QDir(course.folder().path()).entryList({u"results*"_s}, QDir::Files | QDir::Hidden),
              QStringList());
    EXPECT_EQ(openJournal(course).findChild<QLabel*>(u"resultsStatus"_s), nullptr)
        << "a course that sends nothing shows nothing about it";
}

TEST(ResultsFlow, ADamagedResultsTomlIsShownAndTheGradeStillStored) {
    CourseDriver course;
    course.folder().write(u"results.toml"_s,
                          "endpoint = \"ftp://x\"\nkey = \"k\"\nsecret = \"s\"\n");
    registerAndTakeFirstTest(course);
    EXPECT_EQ(course.screenInFront(), 2);
    EXPECT_EQ(course.storedGrade(u"Айгүл"_s, 1), u"4"_s) << "two of three right";
    // Shown at the registration and at the finished test; the answers go on without a word.
    EXPECT_EQ(course.boxTexts().filter(u"results.toml: адрес «ftp://x» не http или https"_s).size(),
              2)
        << course.boxTexts().join(u'\n').toStdString();
}

} // namespace
