// SPDX-License-Identifier: GPL-3.0-or-later
// A test with settings taken in the main window: drawn questions with shuffled answers, the
// attempt kept across the program's end, the time limit and the review after the grade.

#include "core/exam/answer_log.h"
#include "core/exam/attempt_file.h"
#include "core/storage/code_page.h"
#include "gui/kit/message_boxes.h"
#include "support/course_driver.h"
#include "support/test_file_builder.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;
using velmora::test::CourseDriver;
using velmora::test::numberedQuestions;
using velmora::test::writeTestFile;

namespace {

const QString kUser = u"Әсел"_s;
// The key of test 1's ten questions: question n's right answer is at file position kKey[n - 1].
const QList<int> kKey{2, 4, 1, 5, 3, 1, 2, 3, 4, 5};

QByteArray courseWith(const char* settings) {
    return QByteArray(R"([course]
id = "lab"
caption = "Курс"
help = "help.htm"

[[menu]]
name = "N0"
caption = "Тесты"

[[menu.item]]
test = 1
)") + settings;
}

// What the test screen shows: the question's file section, and for each screen position the file
// position of the answer shown there (the answers read "A) n.k": k is the file's position).
struct Shown {
    int section = 0;
    std::array<int, 5> filePosition{};
    // The screen position of the file's right answer, or of a wrong one.
    int right() const { return screenOf(kKey[section - 1]); }
    int wrong() const { return screenOf(kKey[section - 1] % 5 + 1); }
    int screenOf(int file) const {
        return int(std::find(filePosition.begin(), filePosition.end(), file) -
                   filePosition.begin()) +
               1;
    }
};

// A course folder whose test 1 has the settings given to start().
class AttemptCourse {
public:
    AttemptCourse() {
        course.folder().write(u"help.htm"_s, "<p>help</p>");
        writeTestFile(u"test1"_s, numberedQuestions(kKey), u"10"_s);
        course.storeStudent(kUser, u"pw"_s, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    }

    AttemptCourse(const AttemptCourse&) = delete;
    AttemptCourse& operator=(const AttemptCourse&) = delete;

    void start(const char* settings) {
        course.folder().write(u"course.toml"_s, courseWith(settings));
        course.start();
        ASSERT_TRUE(course.boxes().isEmpty()) << course.boxTexts().join(u'\n').toStdString();
    }

    Shown shown() const {
        Shown s;
        const QString text = course.find<QPlainTextEdit>("Memo1")->toPlainText();
        s.section = text.mid(text.indexOf(u' ') + 1).toInt();
        for (int i = 1; i <= 5; ++i) {
            const QString answer =
                course.find<QRadioButton>(QStringLiteral("RadioButton%1").arg(i))->text();
            // "C) 7.4": the letter follows the screen, the last digit is the file's position.
            EXPECT_EQ(answer.left(2), QStringLiteral("%1)").arg(QChar(u'A' + i - 1)));
            s.filePosition[size_t(i - 1)] = answer.right(1).toInt();
        }
        return s;
    }

    QStringList fileLines(const QString& name) const {
        if (!QFileInfo::exists(name)) {
            return {};
        }
        return CodePage::decode(course.folder().read(name)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    }

    // Waits, the event loop running, until the progress screen is in front.
    bool waitForProgress(int ms) const {
        const QDeadlineTimer deadline(ms);
        while (course.screenInFront() != 2 && !deadline.hasExpired()) {
            QTest::qWait(50);
        }
        return course.screenInFront() == 2;
    }

    CourseDriver course;
};

class AttemptFlow : public ::testing::Test, public AttemptCourse {};

// Draw 5 of 10, shuffled answers, one minute, review: three answers, the program killed, started
// again, the attempt continued with the same questions, a fourth answer, and the time runs out.
TEST_F(AttemptFlow, KilledAfterTheThirdAnswerResumesAndEndsWhenTheTimeRunsOut) {
    start("draw = 5\nshuffle_answers = true\nminutes = 1\nreview = \"after\"\n");
    course.signIn(kUser, u"pw"_s);
    course.startTest(1);
    EXPECT_TRUE(course.find<QLabel>("timeLeft")->text().startsWith(u"Осталось времени: 0"_s));
    EXPECT_EQ(course.find<QLabel>("timeLeft")->accessibleName(),
              course.find<QLabel>("timeLeft")->text());
    QList<Shown> seen;
    for (const bool right : {true, false, true}) {
        seen.append(shown());
        course.answer(right ? seen.back().right() : seen.back().wrong());
    }
    const Shown fourth = shown();

    // The program ends without a word; the time away counts: all but five seconds of the minute.
    {
        std::optional<Attempt> saved = AttemptFile::load(kUser);
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->chosen.size(), 3);
        saved->started = QDateTime::currentDateTimeUtc().addMSecs(-55000);
        AttemptFile::save(*saved);
    }
    course.restart();
    course.forgetBoxes();
    course.signIn(kUser, u"pw"_s);
    EXPECT_EQ(course.boxTexts(), (QStringList{u"Question: Продолжить незавершённый тест №1?"_s,
                                              u"Warning: До конца теста осталась одна минута."_s}));
    EXPECT_EQ(course.screenInFront(), 3);
    const Shown again = shown();
    EXPECT_EQ(again.section, fourth.section);
    EXPECT_EQ(again.filePosition, fourth.filePosition);
    seen.append(again);
    course.answer(again.right());
    ASSERT_TRUE(waitForProgress(15000));
    // One warning only, whatever the ticks.
    EXPECT_EQ(course.boxes().size(), 2);

    // 3 right of the 5 asked: 60 %.
    EXPECT_EQ(course.storedGrade(kUser, 1), u"4"_s);
    const QStringList log = fileLines(u"report.txt"_s);
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].startsWith(kUser + u" | "_s) && log[0].endsWith(u" | test1 | 4"_s))
        << log[0].toStdString();
    const QStringList answers = fileLines(u"report.answers.txt"_s);
    ASSERT_EQ(answers.size(), 4);
    QString seed;
    for (qsizetype k = 0; k < answers.size(); ++k) {
        const QStringList fields = answers[k].split(u" | "_s);
        ASSERT_EQ(fields.size(), 10) << answers[k].toStdString();
        const int section = seen[k].section;
        const bool right = k != 1;
        EXPECT_EQ(fields[4], QString::number(section));
        // The file's letters, not the screen's.
        EXPECT_EQ(fields[6], AnswerLog::letter(kKey[section - 1]));
        EXPECT_EQ(fields[5],
                  AnswerLog::letter(right ? kKey[section - 1] : kKey[section - 1] % 5 + 1));
        EXPECT_EQ(fields[9], QString::number(k + 1));
        seed = k == 0 ? fields[8] : seed;
        EXPECT_EQ(fields[8], seed);
    }
    EXPECT_FALSE(AttemptFile::load(kUser));

    const QString review = course.find<QPlainTextEdit>("reviewText")->toPlainText();
    EXPECT_TRUE(course.find<QWidget>("ReviewWindow")->isVisible());
    EXPECT_TRUE(review.startsWith(u"Тест №1: верных ответов 3 из 5\n"_s)) << review.toStdString();
    EXPECT_TRUE(review.contains(
        u"2. Вопрос %1\n   Ваш ответ: %2) %1.%3 — неверно\n   Верный ответ: %4) %1.%5\n"_s
            .arg(seen[1].section)
            .arg(QChar(u'A' + seen[1].wrong() - 1))
            .arg(kKey[seen[1].section - 1] % 5 + 1)
            .arg(QChar(u'A' + seen[1].right() - 1))
            .arg(kKey[seen[1].section - 1])))
        << review.toStdString();
    EXPECT_TRUE(review.contains(u"5. Вопрос "_s));
    EXPECT_TRUE(review.contains(u"Ваш ответ: нет ответа — неверно"_s));
}

// What sign-in does with an unfinished attempt: "Нет" ends it as it stands, a test file changed
// since ends it with an information box, a damaged file is set aside with a warning.
TEST(AttemptFlows, AnUnfinishedAttemptEndsAsItStandsWhenNotContinued) {
    struct Row {
        const char* name;
        std::function<void()> meanwhile;
        QStringList boxes;
        QString grade; // stored after the sign-in
        int logLines;
    };
    const Row rows[] = {
        {"no",
         [] { MessageBoxes::setNextAnswer(MessageBoxes::Answer::Cancel); },
         {u"Question: Продолжить незавершённый тест №1?"_s},
         u"3"_s,
         1},
        {"test changed",
         [] { writeTestFile(u"test1"_s, numberedQuestions(kKey), u"9"_s); },
         {u"Information: Тест №1 изменён после начала незавершённой попытки: она завершена с "
          u"данными ответами."_s},
         u"3"_s,
         1},
        {"damaged",
         [] {
             QFile file(AttemptFile::path(kUser));
             ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
             file.write("velmora attempt 1\r\nuser=");
         },
         {},
         u"1"_s,
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AttemptCourse flow;
        flow.start("draw = 2\n");
        flow.course.signIn(kUser, u"pw"_s);
        flow.course.startTest(1);
        flow.course.answer(flow.shown().right());
        flow.course.restart();
        flow.course.forgetBoxes();
        row.meanwhile();
        flow.course.signIn(kUser, u"pw"_s);
        if (std::string_view(row.name) == "damaged") {
            ASSERT_EQ(flow.course.boxes().size(), 1);
            EXPECT_TRUE(flow.course.boxTexts()[0].startsWith(
                u"Warning: Незавершённый тест не прочитан и отложен в сторону: "_s));
            EXPECT_EQ(flow.course.screenInFront(), 1);
            EXPECT_TRUE(QFileInfo::exists(AttemptFile::path(kUser) + u".damaged"_s));
        } else {
            EXPECT_EQ(flow.course.boxTexts(), row.boxes);
            EXPECT_EQ(flow.course.screenInFront(), 2);
        }
        // 1 right of 2 asked: 50 %, grade 3; the damaged attempt leaves the grade as it was.
        EXPECT_EQ(flow.course.storedGrade(kUser, 1), row.grade);
        EXPECT_EQ(flow.fileLines(u"report.txt"_s).size(), row.logLines);
        EXPECT_FALSE(QFileInfo::exists(AttemptFile::path(kUser)));
    }
}

// A course without settings: no attempt file, no time label, the answer lines of eight fields.
TEST_F(AttemptFlow, ATestWithoutSettingsKeepsNoAttempt) {
    start("");
    course.signIn(kUser, u"pw"_s);
    course.startTest(1);
    EXPECT_EQ(course.window().findChild<QLabel*>(u"timeLeft"_s), nullptr);
    course.answer(1);
    EXPECT_FALSE(QFileInfo::exists(AttemptFile::path(kUser)));
    EXPECT_EQ(fileLines(u"report.answers.txt"_s).at(0).split(u" | "_s).size(), 8);
}

} // namespace
