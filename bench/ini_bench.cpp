// SPDX-License-Identifier: GPL-3.0-or-later
// The scrambled INI store on a register of 10,000 students (a password and twelve grades each,
// scrambled as the program writes them): the reads of a sign-in, the writes of a close, an erase,
// and the same single lookup with inih and SimpleIni for comparison.

#include "core/storage/code_page.h"
#include "core/storage/safe_file.h"
#include "core/storage/scrambled_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
// Register bytes are code-page text, not UTF-8: SimpleIni is to take them as they are.
#define SI_NO_CONVERSION
#include <SimpleIni.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <ini.h>
#include <stdexcept>

namespace {

using velmora::CodePage;

constexpr int kStudents = 10000;
const QString kRegister = QStringLiteral("\\users.ini");

QString studentName(int i) {
    return QStringLiteral("Оқушы Әлия %1").arg(i);
}
const QString kLast = studentName(kStudents - 1);

QByteArray scrambled(const QByteArray& plain) {
    QByteArray out;
    velmora::crypt(plain, velmora::kScrambleKey, out);
    return out;
}

QByteArray grade(int student, int test) {
    return QByteArray::number((student + test) % 6);
}
const QByteArray kLastGrade = grade(kStudents - 1, 12);

QByteArray line(const QByteArray& key, const QByteArray& plainValue) {
    return key + '=' + scrambled(plainValue) + "\r\n";
}

// The register as registration and closes leave it: sections in order of registration.
QByteArray generatedRegister() {
    QByteArray text;
    for (int i = 0; i < kStudents; ++i) {
        text += '[' + CodePage::encode(studentName(i)) + "]\r\n";
        text += line("password", "Құпия" + QByteArray::number(i));
        for (int t = 1; t <= 12; ++t) {
            text += line("test" + QByteArray::number(t), grade(i, t));
        }
    }
    return text;
}

// A folder holding the register, made the current directory while the benchmarks run.
class RegisterFolder {
public:
    RegisterFolder() : content_(generatedRegister()) {
        QDir::setCurrent(dir_.path());
        restore();
        if (velmora::readini(kLast, QStringLiteral("test12"), kRegister) !=
            QString::fromLatin1(kLastGrade)) {
            throw std::runtime_error("generated register does not read back");
        }
    }
    void restore() const {
        if (velmora::writeFileAtomically(path(), content_) != 0) {
            throw std::runtime_error("cannot write the register");
        }
    }
    QString path() const { return dir_.filePath(QStringLiteral("users.ini")); }
    QByteArray nativePath() const { return QFile::encodeName(path()); }
    qsizetype size() const { return content_.size(); }

private:
    QTemporaryDir dir_;
    QByteArray content_;
};

const RegisterFolder& folder() {
    static const RegisterFolder f;
    return f;
}

// The lookups with inih and SimpleIni: open the file, find the last student's grade, as readini
// does on every call.
struct InihLookup {
    const char* section;
    std::string value;
};

int inihHandler(void* user, const char* section, const char* name, const char* value) {
    auto* lookup = static_cast<InihLookup*>(user);
    if (lookup->value.empty() && std::strcmp(section, lookup->section) == 0 &&
        std::strcmp(name, "test12") == 0) {
        lookup->value = value;
    }
    return 1;
}

std::string inihGrade(const QByteArray& path, const QByteArray& section) {
    InihLookup lookup{section.constData(), {}};
    ini_parse(path.constData(), inihHandler, &lookup);
    return lookup.value;
}

std::string simpleIniGrade(const QByteArray& path, const QByteArray& section) {
    CSimpleIniA ini;
    ini.LoadFile(path.constData());
    const char* value = ini.GetValue(section.constData(), "test12", "");
    return value;
}

QString readiniGrade() {
    return velmora::readini(kLast, QStringLiteral("test12"), kRegister);
}

void ReadiniLastGrade(benchmark::State& state) {
    folder();
    for (auto _ : state) {
        benchmark::DoNotOptimize(readiniGrade());
    }
    state.counters["file_bytes"] = static_cast<double>(folder().size());
}

using Lookup = std::string (*)(const QByteArray& path, const QByteArray& section);

// The same lookup with another library; it must find the same (scrambled) grade.
void LibraryLastGrade(benchmark::State& state, Lookup lookup) {
    const QByteArray path = folder().nativePath();
    const QByteArray section = CodePage::encode(kLast);
    if (lookup(path, section) != scrambled(kLastGrade).toStdString()) {
        state.SkipWithError("the library does not find the grade");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup(path, section));
    }
}

// Mean seconds of one call of `lookup` over `rounds` calls.
template <typename F> double secondsPerCall(int rounds, F lookup) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        benchmark::DoNotOptimize(lookup());
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

// The three lookups timed side by side in one run; the counters are how many times longer inih
// and SimpleIni take than readini (above 1: readini is faster).
void LookupRatios(benchmark::State& state) {
    const QByteArray path = folder().nativePath();
    const QByteArray section = CodePage::encode(kLast);
    double readiniTime = 0;
    double inihTime = 0;
    double simpleIniTime = 0;
    for (auto _ : state) {
        readiniTime += secondsPerCall(20, readiniGrade);
        inihTime += secondsPerCall(20, [&] { return inihGrade(path, section); });
        simpleIniTime += secondsPerCall(5, [&] { return simpleIniGrade(path, section); });
    }
    state.counters["inih_over_readini"] = inihTime / readiniTime;
    state.counters["simpleini_over_readini"] = simpleIniTime / readiniTime;
}

// A sign-in: the password and the grades of tests 1 to 10.
void SignInReads(benchmark::State& state) {
    folder();
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::readini(kLast, QStringLiteral("password"), kRegister));
        for (int t = 1; t <= 10; ++t) {
            benchmark::DoNotOptimize(
                velmora::readini(kLast, QStringLiteral("test%1").arg(t), kRegister));
        }
    }
}

// A close: the grades of tests 1 to 12 written back one by one, the first `changed` of them with a
// new value (a grade written over itself costs no rewrite).
void CloseWrites(benchmark::State& state) {
    folder().restore();
    const auto changed = static_cast<int>(state.range(0));
    int round = 0;
    for (auto _ : state) {
        ++round;
        for (int t = 1; t <= 12; ++t) {
            const QByteArray value =
                t <= changed ? QByteArray::number((round + t) % 6) : grade(kStudents - 1, t);
            velmora::writeini(kLast, QStringLiteral("test%1").arg(t), QString::fromLatin1(value),
                              kRegister);
        }
    }
    folder().restore();
}

void EraseStudent(benchmark::State& state) {
    const RegisterFolder& f = folder();
    for (auto _ : state) {
        velmora::eraseini(studentName(kStudents / 2), kRegister);
        state.PauseTiming();
        f.restore();
        state.ResumeTiming();
    }
}

BENCHMARK(ReadiniLastGrade)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(LibraryLastGrade, inih, inihGrade)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(LibraryLastGrade, SimpleIni, simpleIniGrade)->Unit(benchmark::kMicrosecond);
BENCHMARK(LookupRatios)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(SignInReads)->Unit(benchmark::kMicrosecond);
BENCHMARK(CloseWrites)->Unit(benchmark::kMillisecond)->ArgName("changed")->Arg(12)->Arg(1)->Arg(0);
BENCHMARK(EraseStudent)->Unit(benchmark::kMillisecond);

} // namespace
