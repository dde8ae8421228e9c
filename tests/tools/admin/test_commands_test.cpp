// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/question_source_converter.h"
#include "core/exam/test_file.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::AdminRun;
using velmora::test::runAdmin;
using velmora::test::TempFolder;

namespace {

const QString kSource = QStringLiteral("Первый вопрос?\nA) да*\nB) нет\nC) c\nD) d\nE) e\n"
                                       "********\nВторой вопрос\nA) a\nB) b\nC) c*\n");

TEST(TestCommands, BuildWritesTheTestAndPrintsWarnings) {
    const TempFolder folder;
    folder.write(QStringLiteral("src.txt"), kSource.toUtf8());
    const AdminRun run = runAdmin({QStringLiteral("test"), QStringLiteral("build"),
                                   QStringLiteral("src.txt"), QStringLiteral("out.ini")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains(QStringLiteral("warning: Вопрос №2: нет ответов D), E).")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("2 questions written to")));
    const TestFile file(QStringLiteral("\\out.ini"));
    EXPECT_EQ(file.total(), 2);
    EXPECT_EQ(file.question(2).answers[2], QStringLiteral("C) c "));
}

// Every message with a count reads right for one question and for several.
TEST(TestCommands, CountsReadInTheSingularAndThePlural) {
    const std::pair<int, const char*> counts[] = {
        {1, "1 question"}, {2, "2 questions"}, {21, "21 questions"}};
    for (const auto& [n, count] : counts) {
        SCOPED_TRACE(count);
        const TempFolder folder;
        QString source;
        QString gift;
        for (int k = 1; k <= n; ++k) {
            source +=
                QStringLiteral("Вопрос %1?\nA) да*\nB) b\nC) c\nD) d\nE) e\n********\n").arg(k);
            gift += QStringLiteral("Вопрос %1? {=да ~нет}\n\n").arg(k);
        }
        folder.write(QStringLiteral("src.txt"), source.toUtf8());
        folder.write(QStringLiteral("bank.gift"), gift.toUtf8());
        const std::pair<const char*, const char*> writes[] = {
            {"test build src.txt t.ini", "t.ini"},
            {"test export t.ini --format gift --output t.gift", "t.gift"},
            {"test import bank.gift --build b.ini", "b.ini"}};
        for (const auto& [line, output] : writes) {
            const AdminRun run = runAdmin(QString::fromUtf8(line).split(u' '));
            EXPECT_EQ(run.status, 0) << line;
            EXPECT_TRUE(run.err.endsWith(
                QStringLiteral("velmora-admin: %1 written to %2\n")
                    .arg(QString::fromUtf8(count), folder.file(QString::fromUtf8(output)))))
                << run.err.toStdString();
        }
        EXPECT_EQ(runAdmin(QString::fromUtf8("test check t.ini").split(u' ')).out,
                  QStringLiteral("OK: %1\n").arg(QString::fromUtf8(count)));
    }
}

TEST(TestCommands, BuildFailuresWriteNothing) {
    const TempFolder folder;
    folder.write(QStringLiteral("src.txt"), QStringLiteral("Вопрос\nA) 日\n").toUtf8());
    folder.write(QStringLiteral("copyright.txt"), QStringLiteral("Вопрос\nA) ©\n").toUtf8());
    const struct {
        QString source;
        QString expected;
    } cases[] = {{QStringLiteral("src.txt"), QStringLiteral("Строка 2: Символ «日»")},
                 {QStringLiteral("copyright.txt"),
                  QStringLiteral("Строка 2: Значение «A) ©» нельзя сохранить без искажений: "
                                 "символ «©» (U+00A9)\n")},
                 {QStringLiteral("missing.txt"), QStringLiteral("Cannot open file")}};
    for (const auto& c : cases) {
        const AdminRun run = runAdmin(
            {QStringLiteral("test"), QStringLiteral("build"), c.source, QStringLiteral("out.ini")});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(c.expected)) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("out.ini"))));
    }
}

TEST(TestCommands, ShowPrintsQuestionsAnswersAndCorrectLetters) {
    const TempFolder folder;
    folder.write(QStringLiteral("src.txt"), CodePage::encode(kSource));
    QuestionSourceConverter().convert(folder.file(QStringLiteral("src.txt")),
                                      folder.file(QStringLiteral("t.ini")));
    writeini(QStringLiteral("2"), QStringLiteral("ap"), QStringLiteral("x"),
             QStringLiteral("\\t.ini"));
    const AdminRun run = runAdmin(
        {QStringLiteral("test"), QStringLiteral("show"), folder.file(QStringLiteral("t.ini"))});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              QStringLiteral("Questions: 2\n\n"
                             "1. Первый вопрос?\n   A) да \n   B) нет\n   C) c\n   D) d\n   E) e\n"
                             "   correct: A\n\n"
                             "2. Второй вопрос\n   A) a\n   B) b\n   C) c \n   D) d\n   E) e\n"
                             "   correct: none ('x')\n"));
}

TEST(TestCommands, CheckReportsDamagedQuestionsAndCount) {
    const TempFolder folder;
    folder.write(QStringLiteral("src.txt"), CodePage::encode(kSource));
    QuestionSourceConverter().convert(folder.file(QStringLiteral("src.txt")),
                                      folder.file(QStringLiteral("t.ini")));
    const QStringList check = {QStringLiteral("test"), QStringLiteral("check"),
                               QStringLiteral("t.ini")};
    AdminRun run = runAdmin(check);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, QStringLiteral("OK: 2 questions\n"));

    const QString path = QStringLiteral("\\t.ini");
    writeini(QStringLiteral("1"), QStringLiteral("ap"), QStringLiteral("6"), path);
    eraseini(QStringLiteral("2"), path);
    writeini(QStringLiteral("2"), QStringLiteral("q"), QStringLiteral("Только вопрос"), path);
    writeini(QStringLiteral("4"), QStringLiteral("q"), QStringLiteral("Лишний"), path);
    writeini(QStringLiteral("Edit8"), QStringLiteral("q"), QStringLiteral("до вопросов"), path);
    run = runAdmin(check);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              QStringLiteral("note: section 'Edit8' is not a question and is never read\n"
                             "question 1: 'ap' is '6', not 1 to 5\n"
                             "question 2: missing a1, a2, a3, a4, a5, ap\n"
                             "question 4: missing a1, a2, a3, a4, a5, ap\n"
                             "count: 'vsego' is 2, but the question sections are 1, 2, 4\n"));

    writeini(QStringLiteral("inf"), QStringLiteral("vsego"), QStringLiteral("5"), path);
    run = runAdmin(check);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.contains(QStringLiteral("question 3: no section\n")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("question 5: no section\n")));

    eraseini(QStringLiteral("inf"), path);
    run = runAdmin(check);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.contains(
        QStringLiteral("count: 'vsego' in section 'inf': '%1' is not a valid integer value")
            .arg(missingValue())));

    run = runAdmin({QStringLiteral("test"), QStringLiteral("check"), QStringLiteral("absent.ini")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Cannot open file")));
}

// A source of n complete questions, "Вопрос k" with "A) k" correct.
QString completeSource(int n) {
    QString source;
    for (int k = 1; k <= n; ++k) {
        source += QStringLiteral("Вопрос %1\nA) %1*\nB) b\nC) c\nD) d\nE) e\n").arg(k);
    }
    return source;
}

// A missing answer of the first question is empty, never a working box's design text, and
// 'test check' names every question with empty answers beside filled ones.
TEST(TestCommands, MissingFirstAnswersAreEmptyAndCheckNamesThem) {
    const TempFolder folder;
    folder.write(QStringLiteral("src.txt"),
                 QStringLiteral("Первый\nA) a*\nB) b\nC) c\n"
                                "Второй\nA) a\nB) b*\nC) c\nD) d\nE) e\n")
                     .toUtf8());
    AdminRun run = runAdmin({QStringLiteral("test"), QStringLiteral("build"),
                             QStringLiteral("src.txt"), QStringLiteral("t.ini")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const Question first = TestFile(QStringLiteral("\\t.ini")).question(1);
    EXPECT_EQ(first.answers[3], QString());
    EXPECT_EQ(first.answers[4], QString());
    run = runAdmin({QStringLiteral("test"), QStringLiteral("show"), QStringLiteral("t.ini")});
    EXPECT_FALSE(run.out.contains(QStringLiteral("Edit"))) << run.out.toStdString();

    const QStringList check = {QStringLiteral("test"), QStringLiteral("check"),
                               QStringLiteral("t.ini")};
    run = runAdmin(check);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, QStringLiteral("question 1: empty a4, a5 beside filled answers\n"));

    // An empty answer between filled ones counts too; a question with every answer empty is
    // left to the other checks.
    const QString path = QStringLiteral("\\t.ini");
    writeini(QStringLiteral("1"), QStringLiteral("a4"), QStringLiteral("D) d"), path);
    writeini(QStringLiteral("1"), QStringLiteral("a5"), QStringLiteral("E) e"), path);
    writeini(QStringLiteral("2"), QStringLiteral("a2"), QString(), path);
    run = runAdmin(check);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, QStringLiteral("question 2: empty a2 beside filled answers\n"));
    writeini(QStringLiteral("2"), QStringLiteral("a2"), QStringLiteral("B) b"), path);
    run = runAdmin(check);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, QStringLiteral("OK: 2 questions\n"));
}

// 'test build' and 'test import --build --force' replace the test file whole: nothing of the old
// test is left in it, whatever it held.
TEST(TestCommands, BuildAndImportReplaceTheWholeTestFile) {
    const TempFolder folder;
    folder.write(QStringLiteral("twelve.txt"), completeSource(12).toUtf8());
    folder.write(QStringLiteral("one.txt"), completeSource(1).toUtf8());
    folder.write(QStringLiteral("bank.txt"), "Какой протокол?\nA. SMTP\nB. HTTP\nANSWER: B\n");
    const QStringList rebuilds[] = {
        {QStringLiteral("test"), QStringLiteral("build"), QStringLiteral("one.txt"),
         QStringLiteral("test4.ini")},
        {QStringLiteral("test"), QStringLiteral("import"), QStringLiteral("bank.txt"),
         QStringLiteral("--build"), QStringLiteral("test4.ini"), QStringLiteral("--force")},
    };
    for (const QStringList& rebuild : rebuilds) {
        SCOPED_TRACE(rebuild.join(u' ').toStdString());
        AdminRun run = runAdmin({QStringLiteral("test"), QStringLiteral("build"),
                                 QStringLiteral("twelve.txt"), QStringLiteral("test4.ini")});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        writeini(QStringLiteral("notes"), QStringLiteral("x"), QStringLiteral("old"),
                 QStringLiteral("\\test4.ini"));
        run = runAdmin(rebuild);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const TestFile file(QStringLiteral("\\test4.ini"));
        EXPECT_EQ(file.total(), 1);
        EXPECT_EQ(file.sectionNames(), (QStringList{QStringLiteral("1"), QStringLiteral("inf")}));
        run = runAdmin(
            {QStringLiteral("test"), QStringLiteral("check"), QStringLiteral("test4.ini")});
        EXPECT_EQ(run.status, rebuild[1] == QStringLiteral("build") ? 0 : 1)
            << run.out.toStdString(); // the bank's question has two answers of five
        EXPECT_FALSE(run.out.contains(QStringLiteral("count:"))) << run.out.toStdString();
    }
}

// The course folder's committed tests equal those the build makes from their sources (and the
// converter in-process), and are complete.
TEST(CourseTests, AreUpToDateAndComplete) {
    const QString root = QStringLiteral(VELMORA_SOURCE_ROOT);
    const int tests = static_cast<int>(QDir(root + QStringLiteral("/course/sources"))
                                           .entryList({QStringLiteral("test*.txt")}, QDir::Files)
                                           .size());
    ASSERT_GE(tests, 1);
    for (int n = 1; n <= tests; ++n) {
        SCOPED_TRACE(n);
        const TempFolder folder;
        const QString source = root + QStringLiteral("/course/sources/test%1.txt").arg(n);
        const QString made = folder.file(QStringLiteral("made.ini"));
        const ConversionResult result = QuestionSourceConverter().convert(source, made);
        EXPECT_TRUE(result.warnings.isEmpty()) << result.warnings.join(u'\n').toStdString();
        EXPECT_GE(result.questions, 10);
        QFile committed(root + QStringLiteral("/course/data/tests/test%1.ini").arg(n));
        ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
        const QByteArray committedBytes = committed.readAll();
        EXPECT_EQ(committedBytes, folder.read(QStringLiteral("made.ini")));
#ifndef Q_OS_WIN
        // Made by velmora-admin while building; a cross build (Windows) runs nothing it builds.
        QFile built(QStringLiteral(VELMORA_COURSE_TESTS "/test%1.ini").arg(n));
        ASSERT_TRUE(built.open(QIODevice::ReadOnly)) << built.fileName().toStdString();
        EXPECT_EQ(committedBytes, built.readAll());
#endif

        QDir().mkpath(QStringLiteral("data/tests"));
        QFile::copy(committed.fileName(),
                    folder.file(QStringLiteral("data/tests/test%1.ini").arg(n)));
        const TestFile file = TestFile::named(QStringLiteral("test%1").arg(n));
        ASSERT_EQ(file.total(), result.questions);
        for (int k = 1; k <= file.total(); ++k) {
            const Question q = file.question(k);
            EXPECT_TRUE(q.correctLetter().has_value()) << k;
            EXPECT_NE(q.text, missingValue());
        }
    }
}

} // namespace
