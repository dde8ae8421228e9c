// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/answer_log.h"
#include "core/exam/attempt_file.h"
#include "core/exam/test_run.h"
#include "support/admin_run.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

const QList<int> kKey{2, 4, 1, 5, 3, 1};

// A course whose test 1 draws 3 of its 6 questions with shuffled answers.
void writeCourse(const TempFolder& folder) {
    folder.write(u"help.htm"_s, "<p>help</p>");
    folder.write(u"data/info/tumb.db"_s, "admin|admin|report.txt\r\n");
    folder.write(u"course.toml"_s, R"([course]
id = "lab"
caption = "Курс"
help = "help.htm"

[[menu]]
caption = "Тесты"

[[menu.item]]
test = 1
draw = 3
shuffle_answers = true
)");
    writeTestFile(u"test1"_s, numberedQuestions(kKey), u"6"_s);
}

TestSettings drawThree() {
    TestSettings settings;
    settings.draw = 3;
    settings.shuffleAnswers = true;
    return settings;
}

// The review of an attempt whose first answer was right and the others were the first shown.
QString expectedReview(const TestRun& run) {
    QString text = u"Тест №1: верных ответов %1 из 3\n"_s.arg(run.correct());
    for (int k = 1; k <= 3; ++k) {
        const Question shown = run.question(k);
        const int right = shown.correct.toInt();
        const int chosen = k == 1 ? right : 1;
        text += u"\n%1. %2\n   Ваш ответ: %3 — %4\n"_s.arg(k).arg(
            shown.text, shown.answers[chosen - 1].trimmed(),
            chosen == right ? u"верно"_s : u"неверно"_s);
        if (chosen != right) {
            text += u"   Верный ответ: %1\n"_s.arg(shown.answers[right - 1].trimmed());
        }
    }
    return text;
}

TEST(AttemptShow, PrintsTheLastLoggedAttemptAsTheStudentSawIt) {
    const TempFolder folder;
    writeCourse(folder);
    EXPECT_EQ(runAdmin({u"attempt"_s, u"show"_s, u"Әсел"_s}).status, 1);

    // Two attempts as the program logs them; the second is the one shown.
    TestRun run;
    for (const quint64 seed : {7ULL, 0xC0FFEEULL}) {
        std::optional<Question> shown = run.start(u"test1"_s, drawThree(), seed);
        for (int k = 1; shown; ++k) {
            shown = run.answer(k == 1 ? run.question(k).correct.toInt() : 1);
            ASSERT_TRUE(AnswerLog::append(u"report.txt"_s,
                                          AnswerLog::of(u"Әсел"_s, QDateTime::currentDateTime(),
                                                        u"test1"_s, *run.lastAnswered())));
        }
    }
    const AdminRun shown = runAdmin({u"attempt"_s, u"show"_s, u"әсел"_s});
    EXPECT_EQ(shown.status, 0) << shown.err.toStdString();
    EXPECT_EQ(shown.out, u"әсел, test1, seed 0000000000c0ffee\n"_s + expectedReview(run));

    // An unfinished attempt comes first.
    const TestRun& unfinished = run;
    std::optional<Question> first = run.start(u"test1"_s, drawThree(), 99);
    run.answer(first->correct.toInt());
    AttemptFile::save({u"Әсел"_s, u"test1"_s, *unfinished.plan(), unfinished.chosen(),
                       unfinished.correct(), unfinished.started(), unfinished.fileMark()});
    const AdminRun open = runAdmin({u"attempt"_s, u"show"_s, u"Әсел"_s});
    EXPECT_EQ(open.status, 0) << open.err.toStdString();
    EXPECT_TRUE(open.out.startsWith(u"Әсел, test1, seed 0000000000000063, unfinished\n"_s +
                                    u"Тест №1: верных ответов 1 из 3\n"_s))
        << open.out.toStdString();
    EXPECT_TRUE(open.out.endsWith(
        u"   Ваш ответ: нет ответа — неверно\n"_s + u"   Верный ответ: "_s +
        run.question(3).answers[run.question(3).correct.toInt() - 1].trimmed() + u"\n"_s))
        << open.out.toStdString();
}

} // namespace
