// SPDX-License-Identifier: GPL-3.0-or-later
// Converting a question source into a test file: the one-write conversion against the same
// source written line by line through writeini, seven values per line.
#include "core/exam/question_source.h"
#include "core/exam/question_source_converter.h"
#include "core/storage/scrambled_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

// A source of `questions` blocks: a question line, five answer lines, a separator.
QByteArray generatedSource(int questions) {
    QByteArray text;
    for (int n = 1; n <= questions; ++n) {
        text +=
            "Question " + QByteArray::number(n) + ": which of these describes the system best?\r\n";
        for (char letter = 'A'; letter <= 'E'; ++letter) {
            text += QByteArray(1, letter) + ") Answer " + QByteArray(1, letter) + " of question " +
                    QByteArray::number(n) + (letter - 'A' == n % 5 ? "*" : "") + "\r\n";
        }
        text += "********\r\n";
    }
    return text;
}

struct Workspace {
    explicit Workspace(int questions) {
        source = dir.filePath(QStringLiteral("source.txt"));
        output = dir.filePath(QStringLiteral("test.ini"));
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly) || file.write(generatedSource(questions)) < 0) {
            throw std::runtime_error("cannot write the source");
        }
    }
    QTemporaryDir dir;
    QString source;
    QString output;
};

void BM_ConvertSource(benchmark::State& state) {
    const Workspace space(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(space.output);
        state.ResumeTiming();
        QuestionSourceConverter converter;
        benchmark::DoNotOptimize(converter.convert(space.source, space.output));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ConvertSource)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The whole record through writeini after every line, as the conversion once worked.
void BM_ConvertSourceThroughWriteini(benchmark::State& state) {
    const Workspace space(static_cast<int>(state.range(0)));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(space.dir.path());
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(space.output);
        state.ResumeTiming();
        QuestionRecord record;
        int questions = 0;
        for (const QString& line : QuestionSource::read(space.source)) {
            record.take(line, questions);
            for (const auto& [key, value] : record.values()) {
                writeini(record.number, key, value, QStringLiteral("\\test.ini"));
            }
        }
        writeini(QStringLiteral("inf"), QStringLiteral("vsego"), QString::number(questions),
                 QStringLiteral("\\test.ini"));
    }
    QDir::setCurrent(previous);
    state.SetComplexityN(state.range(0));
}
// Each writeini rewrites the whole file and flushes it to disk, so this path is measured on
// small sources only: 2,000 questions would take many minutes.
BENCHMARK(BM_ConvertSourceThroughWriteini)
    ->Arg(25)
    ->Arg(50)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
