// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/question_source.h"
#include "core/exam/question_source_converter.h"
#include "core/exam/test_file.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"
#include "support/same_path.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

const QString kOutput = QStringLiteral("\\out.ini");

QByteArray cp(const QString& text) {
    return CodePage::encode(text);
}

QByteArray block(int n, char correct) {
    QByteArray b = "Вопрос " + QByteArray::number(n) + "?\r\n";
    for (char letter = 'A'; letter <= 'E'; ++letter) {
        b += QByteArray(1, letter) + ") Ответ " + QByteArray(1, letter) + QByteArray::number(n) +
             (letter == correct ? "*" : "") + "\r\n";
    }
    return b;
}

// Converts `utf8Text` (written in the code page) from src.txt into out.ini of the folder.
ConversionResult convertText(QuestionSourceConverter& converter, const TempFolder& folder,
                             const QString& utf8Text) {
    folder.write(QStringLiteral("src.txt"), cp(utf8Text));
    return converter.convert(folder.file(QStringLiteral("src.txt")),
                             folder.file(QStringLiteral("out.ini")));
}

QString failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Failure& f) {
        return f.message();
    }
    return {};
}

TEST(Conversion, WritesOneSectionPerQuestionAndTheirCount) {
    const TempFolder folder;
    QuestionSourceConverter converter;
    const QByteArray text = block(1, 'A') + "********\r\n" + block(2, 'C') + "********\r\n" +
                            block(3, 'E') + "********\r\n";
    const ConversionResult result = convertText(converter, folder, QString::fromUtf8(text));
    EXPECT_EQ(result.questions, 3);
    EXPECT_TRUE(result.warnings.isEmpty()) << result.warnings.join(u'\n').toStdString();
    EXPECT_EQ(QuestionSourceConverter::progressText(result.questions), QStringLiteral("Вопрос №3"));

    const TestFile file(kOutput);
    EXPECT_EQ(file.total(), 3); // the number of questions, not one less
    EXPECT_EQ(file.sectionNames(), (QStringList{QStringLiteral("1"), QStringLiteral("2"),
                                                QStringLiteral("3"), QStringLiteral("inf")}));
    const Question q2 = file.question(2);
    EXPECT_EQ(q2.text, QStringLiteral("Вопрос 2?"));
    EXPECT_EQ(q2.answers[0], QStringLiteral("A) Ответ A2"));
    EXPECT_EQ(q2.answers[2], QStringLiteral("C) Ответ C2 "));
    EXPECT_EQ(q2.correct, QStringLiteral("3"));
    EXPECT_EQ(file.question(3).correctLetter(), QChar(u'E'));
    // The values are scrambled in the file.
    EXPECT_FALSE(folder.read(QStringLiteral("out.ini")).contains(cp(QStringLiteral("Ответ"))));
}

TEST(Conversion, CountIsTheNumberOfQuestionLines) {
    const struct {
        QString text;
        int questions;
    } cases[] = {{QString(), 0},
                 {QStringLiteral("\r\n********\r\n"), 0},
                 {QStringLiteral("Один вопрос"), 1},
                 {QStringLiteral("Первый\nA) a*\nВторой\nB) b*\n"), 2}};
    for (const auto& c : cases) {
        const TempFolder folder;
        QuestionSourceConverter converter;
        EXPECT_EQ(convertText(converter, folder, c.text).questions, c.questions);
        EXPECT_EQ(TestFile(kOutput).total(), c.questions) << c.text.toStdString();
    }
}

TEST(Conversion, SeparatorLinesChangeNothing) {
    const TempFolder with;
    const TempFolder without;
    QuestionSourceConverter a;
    QuestionSourceConverter b;
    convertText(a, with,
                QString::fromUtf8(block(1, 'B') + "********\r\n\r\n" + block(2, 'D') + "********"));
    convertText(b, without, QString::fromUtf8(block(1, 'B') + block(2, 'D')));
    EXPECT_EQ(with.read(QStringLiteral("out.ini")), without.read(QStringLiteral("out.ini")));
}

TEST(Conversion, FieldsABlockLacksCarryOverFromThePreviousOne) {
    const TempFolder folder;
    QuestionSourceConverter converter;
    convertText(converter, folder,
                QStringLiteral("Без отметки\nA) a1\nB) b1\nC) c1\nD) d1\nE) e1\n"
                               "Второй\nA) a2\nC) c2*\n"
                               "Третий\nB) b3\n"));
    const TestFile file(kOutput);
    const Question q1 = file.question(1);
    EXPECT_EQ(q1.correct,
              QStringLiteral("Edit7")); // never marked since start-up: matches no answer
    EXPECT_FALSE(q1.correctLetter().has_value());
    const Question q2 = file.question(2);
    EXPECT_EQ(q2.answers[1], QStringLiteral("B) b1"));
    EXPECT_EQ(q2.answers[2], QStringLiteral("C) c2 "));
    EXPECT_EQ(q2.correct, QStringLiteral("3"));
    const Question q3 = file.question(3);
    EXPECT_EQ(q3.answers[0], QStringLiteral("A) a2"));
    EXPECT_EQ(q3.answers[1], QStringLiteral("B) b3"));
    EXPECT_EQ(q3.answers[4], QStringLiteral("E) e1"));
    EXPECT_EQ(q3.correct, QStringLiteral("3"));
    EXPECT_EQ(converter.record().text, QStringLiteral("Третий"));
    EXPECT_EQ(converter.record().number, QStringLiteral("3"));
}

// The working record's answers start empty: an answer line the first question lacks is empty in
// the test, as one is for a later question whose predecessor had none.
TEST(Conversion, AnswersTheFirstQuestionLacksAreEmpty) {
    const TempFolder folder;
    QuestionSourceConverter converter;
    EXPECT_EQ(converter.record().answers, (std::array<QString, kAnswersPerQuestion>{}));
    convertText(converter, folder,
                QStringLiteral("Первый\nB) b*\nC) c\n"
                               "Второй\nA) a\nB) b*\n"));
    const TestFile file(kOutput);
    const QStringList expected[] = {
        {QString(), QStringLiteral("B) b "), QStringLiteral("C) c"), QString(), QString()},
        {QStringLiteral("A) a"), QStringLiteral("B) b "), QStringLiteral("C) c"), QString(),
         QString()},
    };
    for (int k = 1; k <= 2; ++k) {
        const Question q = file.question(k);
        EXPECT_EQ(QStringList(q.answers.begin(), q.answers.end()), expected[k - 1]) << k;
    }
}

TEST(Conversion, SecondConversionStartsFromTheRecordTheFirstLeft) {
    const TempFolder folder;
    QuestionSourceConverter converter;
    // Before any question, the first conversion's leading line fills section "Edit8".
    convertText(converter, folder, QStringLiteral("Заголовок\n"));
    // ... that was a question; now a source with a stray answer line before its first question.
    folder.write(QStringLiteral("src2.txt"), cp(QStringLiteral("E) лишний*\nQ1\nA) a\nQ2\n")));
    const ConversionResult second = converter.convert(folder.file(QStringLiteral("src2.txt")),
                                                      folder.file(QStringLiteral("two.ini")));
    EXPECT_EQ(second.questions, 2);
    const TestFile two(QStringLiteral("\\two.ini"));
    // The stray line went into section "1", the number the first conversion left; question 1
    // then overwrote it.
    EXPECT_EQ(two.question(1).text, QStringLiteral("Q1"));
    EXPECT_EQ(two.question(1).answers[4], QStringLiteral("E) лишний "));
    EXPECT_EQ(two.question(1).correct, QStringLiteral("5"));
    EXPECT_EQ(two.question(1).answers[1], QString()); // no answer line since start-up
    EXPECT_EQ(two.question(2).answers[0], QStringLiteral("A) a"));
    EXPECT_EQ(two.sectionNames(),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("inf")}));

    QuestionSourceConverter fresh;
    fresh.convert(folder.file(QStringLiteral("src2.txt")),
                  folder.file(QStringLiteral("fresh.ini")));
    EXPECT_EQ(TestFile(QStringLiteral("\\fresh.ini")).sectionNames(),
              (QStringList{QStringLiteral("Edit8"), QStringLiteral("1"), QStringLiteral("2"),
                           QStringLiteral("inf")}));
    EXPECT_EQ(TestFile(QStringLiteral("\\fresh.ini")).question(1).text, QStringLiteral("Q1"));
}

TEST(Conversion, UpdatesAnExistingFileInPlace) {
    const TempFolder folder;
    QuestionSourceConverter converter;
    convertText(converter, folder,
                QString::fromUtf8(block(1, 'A') + block(2, 'B') + block(3, 'C')));
    writeini(QStringLiteral("extra"), QStringLiteral("note"), QStringLiteral("оставить"), kOutput);
    writeini(QStringLiteral("1"), QStringLiteral("comment"), QStringLiteral("тоже"), kOutput);
    QuestionSourceConverter other;
    EXPECT_EQ(convertText(other, folder, QString::fromUtf8(block(7, 'D'))).questions, 1);
    const TestFile file(kOutput);
    EXPECT_EQ(file.total(), 1);
    EXPECT_EQ(file.question(1).text, QStringLiteral("Вопрос 7?"));
    EXPECT_EQ(file.question(3).text, QStringLiteral("Вопрос 3?"));
    EXPECT_EQ(readini(QStringLiteral("extra"), QStringLiteral("note"), kOutput),
              QStringLiteral("оставить"));
    EXPECT_EQ(readini(QStringLiteral("1"), QStringLiteral("comment"), kOutput),
              QStringLiteral("тоже"));
}

// Replaced whole, the file holds the conversion's sections alone, byte for byte what a
// conversion into a new file writes.
TEST(Conversion, ReplacesAnExistingFileWhole) {
    const TempFolder folder;
    QuestionSourceConverter first;
    convertText(first, folder, QString::fromUtf8(block(1, 'A') + block(2, 'B') + block(3, 'C')));
    writeini(QStringLiteral("extra"), QStringLiteral("note"), QStringLiteral("убрать"), kOutput);
    folder.write(QStringLiteral("src.txt"), block(7, 'D'));
    QuestionSourceConverter replacing;
    EXPECT_EQ(replacing
                  .convert(folder.file(QStringLiteral("src.txt")),
                           folder.file(QStringLiteral("out.ini")), TestFileWrite::Replace)
                  .questions,
              1);
    QuestionSourceConverter fresh;
    fresh.convert(folder.file(QStringLiteral("src.txt")), folder.file(QStringLiteral("new.ini")));
    EXPECT_EQ(folder.read(QStringLiteral("out.ini")), folder.read(QStringLiteral("new.ini")));
    EXPECT_EQ(TestFile(kOutput).sectionNames(),
              (QStringList{QStringLiteral("1"), QStringLiteral("inf")}));
}

TEST(Conversion, SourceEncodings) {
    const QString kazakh = QStringLiteral("Ақпараттық жүйе деген не?");
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"utf-8", (kazakh + QStringLiteral("\r\nA) Әдіс*\r\n")).toUtf8()},
        {"utf-8 with a byte order mark",
         "\xEF\xBB\xBF" + (kazakh + QStringLiteral("\nA) Әдіс*\n")).toUtf8()},
        {"code page", cp(kazakh + QStringLiteral("\r\nA) Әдіс*\r\n"))},
        {"code page, lone CR", cp(kazakh + QStringLiteral("\rA) Әдіс*"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        folder.write(QStringLiteral("src.txt"), c.bytes);
        QuestionSourceConverter converter;
        EXPECT_EQ(converter
                      .convert(folder.file(QStringLiteral("src.txt")),
                               folder.file(QStringLiteral("out.ini")))
                      .questions,
                  1);
        const Question q = TestFile(kOutput).question(1);
        EXPECT_EQ(q.text, kazakh);
        EXPECT_EQ(q.answers[0], QStringLiteral("A) Әдіс "));
        EXPECT_EQ(q.correct, QStringLiteral("1"));
    }
    // Code page bytes that happen not to be UTF-8 stay code page text.
    EXPECT_FALSE(QuestionSource::isUtf8(cp(kazakh)));
    EXPECT_FALSE(QuestionSource::isUtf8("plain ASCII"));
}

TEST(Conversion, UnstorableTextFailsNamingTheLineAndWritesNothing) {
    QByteArray
        edgeQuote; // a character that scrambles to a quote, which an INI value loses at its edge
    crypt("\"", kScrambleKey, edgeQuote);
    const struct {
        const char* name;
        QByteArray bytes;
        QString expected;
    } cases[] = {
        {"character outside the code page", QStringLiteral("Вопрос\nA) a\nB) 日本*\n").toUtf8(),
         QStringLiteral("Строка 3: Символ «日» (U+65E5) нельзя сохранить в файлах курса")},
        {"value that does not read back", "Q\n" + edgeQuote + "question\n",
         QStringLiteral("Строка 2: ")},
        // Characters whose scrambled byte a line cannot hold are named with their code.
        {"line break when scrambled", QStringLiteral("Вопрос\nA) 5®\n").toUtf8(),
         QStringLiteral("Строка 2: Значение «A) 5®» нельзя сохранить без искажений: символ «®» "
                        "(U+00AE)")},
        {"blank at the edge when scrambled", QStringLiteral("„Вопрос\n").toUtf8(),
         QStringLiteral("Строка 1: Значение «„Вопрос» нельзя сохранить без искажений: символ «„» "
                        "(U+201E)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        folder.write(QStringLiteral("src.txt"), c.bytes);
        QuestionSourceConverter converter;
        const QString message = failureOf([&] {
            converter.convert(folder.file(QStringLiteral("src.txt")),
                              folder.file(QStringLiteral("out.ini")));
        });
        EXPECT_TRUE(message.startsWith(c.expected)) << message.toStdString();
        EXPECT_GT(message.size(), QStringLiteral("Строка 2: ").size());
        EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("out.ini"))));
        EXPECT_EQ(converter.record(), QuestionRecord());
    }
}

TEST(Conversion, FailedWriteLeavesTheOldFileAndTheRecord) {
    const TempFolder folder;
    QuestionSourceConverter converter;
    convertText(converter, folder, QString::fromUtf8(block(1, 'A')));
    const QuestionRecord record = converter.record();
    const QByteArray before = folder.read(QStringLiteral("out.ini"));
    const QString out = folder.file(QStringLiteral("out.ini"));
    QFile::setPermissions(out, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString message =
        failureOf([&] { convertText(converter, folder, QString::fromUtf8(block(2, 'B'))); });
    EXPECT_EQ(message, QStringLiteral("Unable to write to %1").arg(out));
    EXPECT_EQ(folder.read(QStringLiteral("out.ini")), before);
    EXPECT_EQ(converter.record(), record);
}

TEST(Conversion, FailedWriteLeavesNoFile) {
    const TempFolder folder;
    folder.write(QStringLiteral("src.txt"), block(1, 'A'));
    QuestionSourceConverter converter;
    const QString missingFolder = folder.file(QStringLiteral("nowhere/out.ini"));
    EXPECT_EQ(failureOf([&] {
                  converter.convert(folder.file(QStringLiteral("src.txt")), missingFolder);
              }),
              QStringLiteral("Unable to write to %1").arg(missingFolder));
    EXPECT_FALSE(QFile::exists(missingFolder));

    if (velmora::test::ignoresPermissions()) {
        return; // root writes into read-only folders
    }
    QDir().mkdir(folder.file(QStringLiteral("locked")));
    QFile::setPermissions(folder.file(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::ExeOwner);
    const QString locked = folder.file(QStringLiteral("locked/out.ini"));
    EXPECT_THROW(converter.convert(folder.file(QStringLiteral("src.txt")), locked), Failure);
    EXPECT_TRUE(QDir(folder.file(QStringLiteral("locked"))).isEmpty());
    QFile::setPermissions(folder.file(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(Conversion, MissingSourceIsAnInputOutputError) {
    const TempFolder folder;
    QuestionSourceConverter converter;
    EXPECT_EQ(failureOf([&] {
                  converter.convert(
                      folder.file(QStringLiteral("Щелкните здесь мышкой и выберите файл теста")),
                      folder.file(QStringLiteral("out.ini")));
              }),
              QStringLiteral("File not found"));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("out.ini"))));
    EXPECT_EQ(converter.record(), QuestionRecord());
}

TEST(Conversion, WarnsAboutIncompleteQuestionsAndStrayLines) {
    const TempFolder folder;
    QuestionSourceConverter converter;
    const ConversionResult result =
        convertText(converter, folder,
                    QStringLiteral("\nВведение\n") + QString::fromUtf8(block(1, 'A')) +
                        QStringLiteral("Два\nA) a\nB) b\nC) c\n") +
                        QStringLiteral("Три\nA) a*\nB) b*\nC) c\nD) d\nE) e\n") +
                        QStringLiteral("Четыре\nE) e*\nD) d\nC) c\nB) b\nA) a\n"));
    // "Введение" is a question line too: the only stray line is the empty first one.
    const QStringList expected = {
        QStringLiteral("Строки до первого вопроса (1) записаны в раздел «Edit8»."),
        QStringLiteral("Вопрос №1: нет ответов A), B), C), D), E); не отмечен правильный ответ."),
        QStringLiteral("Вопрос №3: нет ответов D), E); не отмечен правильный ответ."),
        QStringLiteral("Вопрос №4: отмечено несколько ответов, правильным считается последний."),
    };
    EXPECT_EQ(result.warnings, expected);
    EXPECT_EQ(result.questions, 5);

    QuestionSourceConverter empty;
    EXPECT_EQ(
        convertText(empty, folder, QStringLiteral("A) a\n")).warnings,
        (QStringList{QStringLiteral("Строки до первого вопроса (1) записаны в раздел «Edit8»."),
                     QStringLiteral("В файле нет ни одного вопроса.")}));
}

TEST(Conversion, OutputLiesBesideTheSource) {
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("sources"));
    const QString source = folder.file(QStringLiteral("sources/t.txt"));
    EXPECT_EQ(QuestionSourceConverter::outputBeside(source, QStringLiteral("Test1")),
              folder.file(QStringLiteral("sources/Test1.ini")));
    folder.write(QStringLiteral("sources/TEST2.INI"), "");
    EXPECT_TRUE(velmora::test::samePath(
        QuestionSourceConverter::outputBeside(source, QStringLiteral("test2")),
        folder.file(QStringLiteral("sources/TEST2.INI"))));
    EXPECT_THROW(QuestionSourceConverter::outputBeside(source, QString()), Failure);
}

// The conversion as the store alone does it: the whole record through writeini after every line.
void convertThroughStore(const QString& source, const QString& relativeOutput,
                         QuestionRecord& record) {
    int questions = 0;
    for (const QString& line : QuestionSource::read(source)) {
        record.take(line, questions);
        for (const auto& [key, value] : record.values()) {
            writeini(record.number, key, value, relativeOutput);
        }
    }
    writeini(QStringLiteral("inf"), QStringLiteral("vsego"), QString::number(questions),
             relativeOutput);
}

TEST(Conversion, EqualsWritingEveryLineThroughTheStore) {
    const QByteArray sources[] = {
        "\r\nStray\r\n" + block(1, 'B') + "********\r\n" + block(2, 'E'),
        "E) before*\r\n" + block(3, 'A') + "No answers\r\nA) x\r\n",
    };
    const QByteArray existing[] = {
        "",
        "; kept\r\n[1]\r\nQ=old\r\nextra=1\r\n\r\n[inf]\r\nvsego=7\r\n[Edit8]\nq=x\n[2]",
    };
    for (const QByteArray& start : existing) {
        const TempFolder folder;
        folder.write(QStringLiteral("fast.ini"), start);
        folder.write(QStringLiteral("slow.ini"), start);
        QuestionSourceConverter converter;
        QuestionRecord record;
        for (qsizetype i = 0; i < std::ssize(sources); ++i) {
            const QString source = folder.file(QStringLiteral("src%1.txt").arg(i));
            folder.write(QStringLiteral("src%1.txt").arg(i), sources[i]);
            converter.convert(source, folder.file(QStringLiteral("fast.ini")));
            convertThroughStore(source, QStringLiteral("\\slow.ini"), record);
            EXPECT_EQ(folder.read(QStringLiteral("fast.ini")),
                      folder.read(QStringLiteral("slow.ini")));
            EXPECT_EQ(converter.record(), record);
        }
    }
}

} // namespace
