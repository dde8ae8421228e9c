// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a 10 MB question bank of each format, as 'velmora-admin test import' does: the file
// read, its questions read and judged, the question source written beside it (atomically, flushed
// to disk). The bank holds single-answer questions of five answers in Cyrillic, with the markup
// each format carries (GIFT titles, escapes and feedback; Moodle XML HTML in CDATA).
#include "core/exam/question_bank.h"
#include "core/storage/safe_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

constexpr qsizetype kBankBytes = 10 * 1024 * 1024;

QByteArray aikenQuestion(int n) {
    QByteArray q = "Вопрос " + QByteArray::number(n) +
                   ": какая система планирования ресурсов "
                   "предприятия описана в лекции?\n";
    for (char letter = 'A'; letter <= 'E'; ++letter) {
        q += QByteArray(1, letter) + ". Ответ " + QByteArray(1, letter) +
             " о хранении, обработке и выдаче информации\n";
    }
    return q + "ANSWER: " + QByteArray(1, char('A' + n % 5)) + "\n\n";
}

QByteArray giftQuestion(int n) {
    QByteArray q = "// вопрос " + QByteArray::number(n) + "\n::Вопрос " + QByteArray::number(n) +
                   "::Какая система \\{ERP\\} планирования ресурсов описана в лекции? {\n";
    for (int a = 0; a < 5; ++a) {
        q += (a == n % 5 ? "=" : "~") + QByteArray("Ответ ") + QByteArray::number(a) +
             " о хранении \\= обработке информации#отзыв к ответу\n";
    }
    return q + "}\n\n";
}

QByteArray moodleQuestion(int n) {
    QByteArray q = "  <question type=\"multichoice\">\n    <name><text>Вопрос " +
                   QByteArray::number(n) +
                   "</text></name>\n    <questiontext format=\"html\"><text><![CDATA[<p>Какая "
                   "<b>система</b> планирования ресурсов&nbsp;описана?</p>]]></text>"
                   "</questiontext>\n    <single>true</single>\n";
    for (int a = 0; a < 5; ++a) {
        q += "    <answer fraction=\"" + QByteArray(a == n % 5 ? "100" : "0") +
             "\" format=\"html\"><text><![CDATA[<p>Ответ " + QByteArray::number(a) +
             " о хранении и обработке</p>]]></text><feedback><text></text></feedback>"
             "</answer>\n";
    }
    return q + "  </question>\n";
}

QByteArray bank(BankFormat format) {
    QByteArray text = format == BankFormat::MoodleXml
                          ? QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n")
                          : QByteArray();
    for (int n = 1; text.size() < kBankBytes; ++n) {
        text += format == BankFormat::Aiken  ? aikenQuestion(n)
                : format == BankFormat::Gift ? giftQuestion(n)
                                             : moodleQuestion(n);
    }
    return format == BankFormat::MoodleXml ? text + "</quiz>\n" : text;
}

void BM_ImportBank(benchmark::State& state) {
    const auto format = static_cast<BankFormat>(state.range(0));
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bank"));
    const QByteArray bytes = bank(format);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        state.SkipWithError("cannot write the bank");
        return;
    }
    file.close();
    int imported = 0;
    for (auto _ : state) {
        const QuestionBank read = QuestionBank::readFile(path, format);
        const QString source = QuestionBank::sourceBeside(path);
        const FileLock lock(source);
        if (writeFileAtomically(source, read.sourceText()) != 0) {
            state.SkipWithError("cannot write the source");
            return;
        }
        imported = read.imported();
    }
    state.counters["MB"] = double(bytes.size()) / (1024 * 1024);
    state.counters["questions"] = imported;
}
BENCHMARK(BM_ImportBank)
    ->ArgName("format")
    ->Arg(int(BankFormat::Aiken))
    ->Arg(int(BankFormat::Gift))
    ->Arg(int(BankFormat::MoodleXml))
    ->Unit(benchmark::kMillisecond);

} // namespace
