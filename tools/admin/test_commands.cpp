// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"
#include "in_folder_of.h"

#include "core/course/course_shape.h"
#include "core/exam/question_source_converter.h"
#include "core/exam/test_file.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"

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

int testBuild(const QStringList& a, QTextStream&, QTextStream& err) {
    const QString source = openPath(a[0]);
    const QString output = openPath(a[1]);
    requireFile(source);
    QuestionSourceConverter converter;
    const ConversionResult result = converter.convert(source, output);
    for (const QString& warning : result.warnings) {
        err << "velmora-admin: warning: " << warning << "\n";
    }
    err << "velmora-admin: " << result.questions << " questions written to " << output << "\n";
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

// What is wrong with one question: missing keys and a correct position that is not 1 to 5.
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
        out << "OK: " << total << " questions\n";
    }
    return problems.isEmpty() ? 0 : 1;
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
             "in UTF-8 is accepted. An existing OUTPUT is updated: sections the source does\n"
             "not write stay. The file is written at once; on failure it stays as it was.\n"
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
             "Reports each question of the test file FILE whose keys are missing or whose\n"
             "correct position 'ap' is not 1 to %1, and a count 'vsego' that does not match\n"
             "the question sections. Exits with status 1 when anything is reported.")
             .arg(kAnswersPerQuestion),
         1,
         testCheck},
    };
}

} // namespace velmora::admin
