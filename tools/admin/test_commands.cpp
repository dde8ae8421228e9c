// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"
#include "file_and_options.h"
#include "in_folder_of.h"

#include "core/exam/question_bank.h"
#include "core/exam/question_bank_writer.h"
#include "core/exam/question_source.h"
#include "core/exam/question_source_converter.h"
#include "core/exam/test_file.h"
#include "core/exam/test_shape.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/save_file.h"
#include "core/storage/scrambled_store.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <cerrno>

namespace velmora::admin {
namespace {

void requireFile(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        throw failures::cannotOpenFile(path, ENOENT);
    }
}

// A file to be written, named on the command line: that exact name, whatever files of the folder
// differ from it in letter case.
QString outputPath(const QString& name) {
    return QDir::cleanPath(QDir(programFolder()).absoluteFilePath(name));
}

int testBuild(const QStringList& a, QTextStream&, QTextStream& err) {
    const QString source = openPath(a[0]);
    const QString output = outputPath(a[1]);
    requireFile(source);
    QuestionSourceConverter converter;
    const ConversionResult result = converter.convert(source, output, TestFileWrite::Replace);
    for (const QString& warning : result.warnings) {
        err << "velmora-admin: warning: " << warning << "\n";
    }
    err << "velmora-admin: " << counted(result.questions, "question", "questions") << " written to "
        << output << "\n";
    return 0;
}

int testShow(const QStringList& a, QTextStream& out, QTextStream&) {
    requireFile(openPath(a[0]));
    const InFolderOf folder(openPath(a[0]));
    const TestFile file(folder.relative());
    const int total = file.total();
    out << "Questions: " << total << "\n";
    for (int k = 1; k <= total; ++k) {
        const Question q = file.question(k);
        out << "\n" << k << ". " << q.text << "\n";
        for (const QString& answer : q.answers) {
            out << "   " << answer << "\n";
        }
        const auto letter = q.correctLetter();
        out << "   correct: "
            << (letter ? QString(*letter) : QStringLiteral("none ('%1')").arg(q.correct)) << "\n";
    }
    return 0;
}

// A positive decimal number without sign or leading zeros, as the converter names sections.
int questionNumber(const QString& section) {
    if (section.isEmpty() || section.front() == u'0' || section.size() > 9) {
        return 0;
    }
    for (const QChar c : section) {
        if (!c.isDigit() || c.unicode() > u'9') {
            return 0;
        }
    }
    return section.toInt();
}

// The keys of the empty answers (nothing but their letter, if that) of a question that has filled
// ones too: students would see choices without text (an answer line the source lacked, a bank
// question of fewer answers).
QStringList emptyAnswersBesideFilled(const Question& q) {
    QStringList empty;
    bool filled = false;
    for (int position = 1; position <= int(q.answers.size()); ++position) {
        const QString& stored = q.answers[position - 1];
        if (stored == missingValue()) {
            continue;
        }
        if (QuestionBankWriter::answerText(stored, position).isEmpty()) {
            empty.append(QStringLiteral("a%1").arg(position));
        } else {
            filled = true;
        }
    }
    return filled ? empty : QStringList();
}

// What is wrong with one question: missing keys, a correct position that is not 1 to 5, empty
// answers beside filled ones.
QStringList questionProblems(const Question& q) {
    QStringList missing;
    QStringList problems;
    if (q.text == missingValue()) {
        missing.append(QStringLiteral("q"));
    }
    for (qsizetype i = 0; i < qsizetype(q.answers.size()); ++i) {
        if (q.answers[i] == missingValue()) {
            missing.append(QStringLiteral("a%1").arg(i + 1));
        }
    }
    if (q.correct == missingValue()) {
        missing.append(QStringLiteral("ap"));
    } else if (!q.correctLetter()) {
        problems.append(QStringLiteral("'ap' is '%1', not 1 to %2")
                            .arg(q.correct, QString::number(kAnswersPerQuestion)));
    }
    if (!missing.isEmpty()) {
        problems.prepend(QStringLiteral("missing ") + missing.join(QStringLiteral(", ")));
    }
    if (const QStringList empty = emptyAnswersBesideFilled(q); !empty.isEmpty()) {
        problems.append(
            QStringLiteral("empty %1 beside filled answers").arg(empty.join(QStringLiteral(", "))));
    }
    return problems;
}

QString numberList(const QList<int>& numbers) {
    if (numbers.isEmpty()) {
        return QStringLiteral("none");
    }
    if (numbers.last() - numbers.first() + 1 == numbers.size()) {
        return QStringLiteral("%1 to %2").arg(numbers.first()).arg(numbers.last());
    }
    QStringList texts;
    for (const int n : numbers) {
        texts.append(QString::number(n));
    }
    return texts.join(QStringLiteral(", "));
}

int testCheck(const QStringList& a, QTextStream& out, QTextStream&) {
    requireFile(openPath(a[0]));
    const InFolderOf folder(openPath(a[0]));
    const TestFile file(folder.relative());
    QStringList problems;
    QMap<int, int> sections; // question number -> how often its section appears
    for (const QString& name : file.sectionNames()) {
        if (const int n = questionNumber(name)) {
            ++sections[n];
        } else if (name.compare(testkeys::infoSection(), Qt::CaseInsensitive) != 0) {
            out << "note: section '" << name << "' is not a question and is never read\n";
        }
    }
    int total = -1;
    try {
        total = file.total();
    } catch (const Failure& f) {
        problems.append(QStringLiteral("count: 'vsego' in section 'inf': %1").arg(f.message()));
    }
    QList<int> numbers = sections.keys();
    for (int k = 1; k <= total; ++k) {
        if (!sections.contains(k)) {
            problems.append(QStringLiteral("question %1: no section").arg(k));
        }
    }
    for (const int k : numbers) {
        if (sections[k] > 1) {
            problems.append(
                QStringLiteral("question %1: the section appears %2 times; only the first is read")
                    .arg(k)
                    .arg(sections[k]));
        }
        for (const QString& problem : questionProblems(file.question(k))) {
            problems.append(QStringLiteral("question %1: %2").arg(k).arg(problem));
        }
    }
    if (total >= 0 && (numbers.size() != total || (total > 0 && numbers.last() != total))) {
        problems.append(QStringLiteral("count: 'vsego' is %1, but the question sections are %2")
                            .arg(total)
                            .arg(numberList(numbers)));
    }
    for (const QString& problem : problems) {
        out << problem << "\n";
    }
    if (problems.isEmpty()) {
        out << "OK: " << counted(total, "question", "questions") << "\n";
    }
    return problems.isEmpty() ? 0 : 1;
}

const QString kFormats = QStringLiteral("aiken|gift|moodle-xml");

int usage(QTextStream& err, const QString& line) {
    err << "velmora-admin: usage: velmora-admin " << line << "\n";
    return 2;
}

void printWarnings(const QStringList& warnings, QTextStream& err) {
    for (const QString& warning : warnings) {
        err << "velmora-admin: warning: " << warning << "\n";
    }
}

// Why the file, of a name of no format, is no bank to import.
QString noBankReason(const QString& path) {
    if (QuestionSource::isSource(QuestionSource::read(path))) {
        return QStringLiteral(
                   "%1 is a question source (an answer line \"A)\" ... \"E)\" marked with "
                   "\"*\"); build it with 'test build', or give the bank's format with "
                   "--format")
            .arg(path);
    }
    return QStringLiteral("%1 is no Aiken bank (each question's answers closed by an \"ANSWER:\" "
                          "line); give its format with --format")
        .arg(path);
}

int testImport(const QStringList& a, QTextStream&, QTextStream& err) {
    const QString usageLine =
        QStringLiteral("test import FILE [--format %1] [--build OUTPUT] [--force]").arg(kFormats);
    const auto parsed = fileAndOptions(a, {QStringLiteral("--format"), QStringLiteral("--build")},
                                       {QStringLiteral("--force")});
    if (!parsed) {
        return usage(err, usageLine);
    }
    const QString bank = openPath(parsed->file);
    requireFile(bank);
    const bool build = parsed->options.contains(QStringLiteral("--build"));
    const QString written = build ? outputPath(parsed->options.value(QStringLiteral("--build")))
                                  : QuestionBank::sourceBeside(bank);
    if (QFileInfo::exists(written) && !parsed->flags.contains(QStringLiteral("--force"))) {
        err << "velmora-admin: " << written << " exists; give --force to replace it\n";
        return 1;
    }
    std::optional<BankFormat> format;
    if (parsed->options.contains(QStringLiteral("--format"))) {
        format = QuestionBank::formatNamed(parsed->options.value(QStringLiteral("--format")));
        if (!format) {
            return usage(err, usageLine);
        }
    } else if (format = QuestionBank::formatOfFile(bank); !format) {
        err << "velmora-admin: " << noBankReason(bank) << "\n";
        return 1;
    }
    const QuestionBank imported = QuestionBank::readFile(bank, *format);
    if (imported.imported() == 0) {
        printWarnings(imported.warnings(), err);
        err << "velmora-admin: " << QuestionBank::nothingImported(bank) << "\n";
        return 1;
    }
    int questions = imported.imported();
    if (build) {
        QuestionSourceConverter converter;
        const ConversionResult result = imported.build(converter, written, TestFileWrite::Replace);
        printWarnings(result.warnings, err);
        questions = result.questions;
    } else {
        saveFile(written, imported.sourceText());
        printWarnings(imported.warnings(), err);
    }
    err << "velmora-admin: " << counted(questions, "question", "questions") << " written to "
        << written << "\n";
    return 0;
}

int testExport(const QStringList& a, QTextStream& out, QTextStream& err) {
    const QString usageLine =
        QStringLiteral("test export FILE --format %1 [--output OUT]").arg(kFormats);
    const auto parsed = fileAndOptions(a, {QStringLiteral("--format"), QStringLiteral("--output")});
    const auto format =
        parsed ? QuestionBank::formatNamed(parsed->options.value(QStringLiteral("--format")))
               : std::nullopt;
    if (!format) {
        return usage(err, usageLine);
    }
    const QString path = openPath(parsed->file);
    requireFile(path);
    QList<Question> questions;
    {
        const InFolderOf folder(path);
        const TestFile file(folder.relative());
        const int total = file.total();
        for (int k = 1; k <= total; ++k) {
            questions.append(file.question(k));
        }
    }
    const QuestionBankWriter::Result result =
        QuestionBankWriter::write(questions, *format, QFileInfo(path).completeBaseName());
    printWarnings(result.warnings, err);
    if (parsed->options.contains(QStringLiteral("--output"))) {
        const QString output = outputPath(parsed->options.value(QStringLiteral("--output")));
        saveFile(output, result.text);
        err << "velmora-admin: " << counted(result.written, "question", "questions")
            << " written to " << output << "\n";
    } else {
        out << QString::fromUtf8(result.text);
    }
    return 0;
}

} // namespace

QList<AdminCommand> testCommands() {
    return {
        {{QStringLiteral("test"), QStringLiteral("build")},
         QStringLiteral("SOURCE OUTPUT"),
         QStringLiteral("turn a plain-text question source into a scrambled test file"),
         QStringLiteral(
             "Converts the question source SOURCE into the test file OUTPUT, as the test\n"
             "scrambling tool does: a question line, up to five answer lines \"A)\" ... \"E)\"\n"
             "with the correct one ending in \"*\", optional \"********\" separators. A source\n"
             "in UTF-8, or in UTF-16 with a byte order mark, is accepted; bytes that are no\n"
             "text are refused. An existing OUTPUT is replaced whole: nothing of the old test\n"
             "stays in it. The file is written at once; on failure it stays as it was.\n"
             "Warnings about incomplete questions are printed on standard error."),
         2,
         testBuild},
        {{QStringLiteral("test"), QStringLiteral("show")},
         QStringLiteral("FILE"),
         QStringLiteral("print the questions, answers and correct letters of a test file"),
         QStringLiteral(
             "Prints the number of questions of the test file FILE and then each question\n"
             "that taking the test asks, with its five answers and the letter of the\n"
             "correct one."),
         1,
         testShow},
        {{QStringLiteral("test"), QStringLiteral("check")},
         QStringLiteral("FILE"),
         QStringLiteral("report damaged questions and a wrong count in a test file"),
         QStringLiteral(
             "Reports each question of the test file FILE whose keys are missing, whose\n"
             "correct position 'ap' is not 1 to %1 or whose answers are partly empty (an answer\n"
             "line the source lacked, a bank question of fewer answers), and a count 'vsego'\n"
             "that does not match the question sections. Exits with status 1 when anything is\n"
             "reported.")
             .arg(kAnswersPerQuestion),
         1,
         testCheck},
        {{QStringLiteral("test"), QStringLiteral("import")},
         QStringLiteral("FILE [--format %1] [--build OUTPUT] [--force]").arg(kFormats),
         QStringLiteral("turn an Aiken, GIFT or Moodle XML question bank into a question source"),
         QStringLiteral(
             "Reads the question bank FILE and writes its questions as a question source in\n"
             "UTF-8 beside it, named after it with \".source.txt\" (\"bank.gift\" gives\n"
             "\"bank.source.txt\"); with --build, converts them straight into the test file\n"
             "OUTPUT, as 'test build' does. An existing output is left as it is unless --force\n"
             "is given; then it is replaced whole. The format is taken from the name (\".gift\", "
             "\".xml\" for Moodle XML)\n"
             "unless --format names it; a file of any other name is an Aiken bank when it reads\n"
             "whole as one (each question's answers closed by an \"ANSWER:\" line) and is no\n"
             "question source (an answer line \"A)\" ... \"E)\" marked with \"*\"). A file in\n"
             "UTF-16 with a byte order mark is read as text; other bytes that are no text are\n"
             "refused.\n"
             "Single-answer multiple-choice questions with two to five answers, one of them\n"
             "correct, are imported with their answers in order; missing letters get empty\n"
             "answers. A true/false question becomes one of the two answers \"Верно\" and\n"
             "\"Неверно\". Every other question (short answer, matching, numerical, essay,\n"
             "cloze, description, several or no correct answers, partial credit, more than\n"
             "five answers, texts the test file cannot hold) is skipped whole. Warnings name\n"
             "each skipped, changed or incomplete question by its number in the bank and its\n"
             "title, and each picture or file left out, and count the imported and skipped\n"
             "questions. When no question can be imported, nothing is written and the exit\n"
             "status is 1."),
         -1,
         testImport},
        {{QStringLiteral("test"), QStringLiteral("export")},
         QStringLiteral("FILE --format %1 [--output OUT]").arg(kFormats),
         QStringLiteral("write a test file's questions as an Aiken, GIFT or Moodle XML bank"),
         QStringLiteral(
             "Writes the questions of the test file FILE in the format given, in UTF-8, to\n"
             "OUT or to standard output: each question's text, its answers in order without\n"
             "their \"A)\" and its correct answer. GIFT and Moodle XML put them in one category\n"
             "named after the test; Moodle XML marks them single-answer and not shuffled, the\n"
             "correct answer worth 100 and the others 0; a question of the answers \"Верно\"\n"
             "and \"Неверно\" is written as true/false. 'test import' reads the file back\n"
             "into the same questions. A question without text or correct answer is left out\n"
             "with a warning, and so is one the format cannot hold (in Aiken, a question that\n"
             "begins as an answer line or as \"ANSWER:\"); texts whose runs of blanks, tabs or\n"
             "no-break spaces no format keeps are written with one blank, with a warning. OUT\n"
             "is replaced."),
         -1,
         testExport},
    };
}

} // namespace velmora::admin
