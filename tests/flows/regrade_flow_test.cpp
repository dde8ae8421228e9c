// SPDX-License-Identifier: GPL-3.0-or-later
// A test given with a wrong answer key, mended after ten students took it: velmora-admin test
// regrade lists the grades that change, --apply writes them, and a new pass unlocks at the
// student's next sign-in.

#include "core/storage/code_page.h"
#include "support/admin_run.h"
#include "support/course_driver.h"
#include "support/test_file_builder.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// The right answers are 1, 2, 3, 4, 5; the file first names 5 for question 3.
const QList<int> kRightKey{1, 2, 3, 4, 5};
const QList<int> kWrongKey{1, 2, 5, 4, 5};

struct Student {
    QList<int> answers;
    int underWrongKey; // right under the wrong key → grade
    int regraded;      // right under the mended key → grade
};

// Grades of five questions: 0 → 1, 1 → 2, 2 → 3, 3 → 4, 4 and 5 → 5.
const Student kStudents[] = {
    {{1, 2, 3, 4, 5}, 5, 5}, // 4 then 5 right
    {{1, 2, 5, 4, 5}, 5, 5}, // 5 then 4
    {{1, 1, 3, 1, 1}, 2, 3}, // 1 then 2: passes now
    {{2, 1, 3, 1, 1}, 1, 2}, // 0 then 1
    {{1, 2, 3, 1, 1}, 3, 4}, // 2 then 3
    {{1, 2, 5, 1, 1}, 4, 3}, // 3 then 2
    {{2, 1, 5, 1, 1}, 2, 1}, // 1 then 0: fails now
    {{1, 2, 3, 4, 1}, 4, 5}, // 3 then 4
    {{2, 2, 2, 2, 2}, 2, 2}, // 1 then 1
    {{1, 1, 4, 1, 1}, 2, 2}, // 1 then 1
};

QString nameOf(int i) {
    return u"Студент%1"_s.arg(i + 1);
}

TEST(RegradeFlow, AWrongKeyMendedRegradesTenAttemptsAndUnlocksANewPass) {
    CourseDriver course; // the course folder, the current directory from here on
    writeTestFile(u"test1"_s, numberedQuestions(kWrongKey), u"5"_s);
    writeTestFile(u"test2"_s, numberedQuestions({1}), u"1"_s);
    course.start();
    for (int i = 0; i < 10; ++i) {
        course.registerStudent(nameOf(i), u"pw"_s);
        course.signIn(nameOf(i), u"pw"_s);
        course.startTest(1);
        course.answer(kStudents[i].answers);
        course.leaveProgress();
        course.choose("NaFormuAvtorizazii");
        ASSERT_EQ(course.storedGrade(nameOf(i), 1), QString::number(kStudents[i].underWrongKey))
            << i;
    }
    course.signIn(nameOf(2), u"pw"_s);
    EXPECT_FALSE(course.enabled("test2"));
    course.choose("NaFormuAvtorizazii");

    writeTestFile(u"test1"_s, numberedQuestions(kRightKey), u"5"_s);
    QString listed;
    for (int i = 0; i < 10; ++i) {
        if (kStudents[i].underWrongKey != kStudents[i].regraded) {
            listed += u"%1: %2 → %3\n"_s.arg(nameOf(i))
                          .arg(kStudents[i].underWrongKey)
                          .arg(kStudents[i].regraded);
        }
    }
    const AdminRun dry = runAdmin({u"test"_s, u"regrade"_s, u"test1"_s});
    EXPECT_EQ(dry.status, 0) << dry.err.toStdString();
    EXPECT_EQ(dry.out, listed);
    EXPECT_EQ(course.storedGrade(nameOf(2), 1), u"2"_s); // nothing written without --apply

    const AdminRun applied = runAdmin({u"test"_s, u"regrade"_s, u"test1"_s, u"--apply"_s});
    EXPECT_EQ(applied.status, 0) << applied.err.toStdString();
    EXPECT_EQ(applied.out, listed);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(course.storedGrade(nameOf(i), 1), QString::number(kStudents[i].regraded)) << i;
    }
    const QStringList log =
        CodePage::decode(course.folder().read(u"report.regrades.txt"_s)).split(u"\r\n"_s);
    ASSERT_EQ(log.size(), 6 + 1) << log.join(u'\n').toStdString(); // six changes and the end
    const QStringList fields = log[0].split(u" | "_s);
    ASSERT_EQ(fields.size(), 6);
    EXPECT_EQ(fields[0], nameOf(2));
    EXPECT_TRUE(QDate::fromString(fields[1], u"dd.MM.yyyy"_s).isValid()) << fields[1].toStdString();
    EXPECT_TRUE(QTime::fromString(fields[2], u"HH:mm:ss"_s).isValid()) << fields[2].toStdString();
    EXPECT_EQ(fields.mid(3), (QStringList{u"test1"_s, u"2"_s, u"3"_s}));

    course.signIn(nameOf(2), u"pw"_s);
    EXPECT_TRUE(course.enabled("test2"));
    course.choose("NaFormuAvtorizazii");
    course.signIn(nameOf(6), u"pw"_s);
    EXPECT_FALSE(course.enabled("test2"));

    // Done once, a regrade finds nothing more to change.
    EXPECT_TRUE(runAdmin({u"test"_s, u"regrade"_s, u"test1"_s}).out.isEmpty());
}

} // namespace
