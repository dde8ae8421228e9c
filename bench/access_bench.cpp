// SPDX-License-Identifier: GPL-3.0-or-later
// Sign-in, registration, deletion and the close write-back against a register of 10,000
// students, through the same logic the sign-in screen's handlers call. Target: each under 20 ms.
#include "core/access/registration.h"
#include "core/access/sign_in.h"
#include "core/access/user_list.h"
#include "core/access/user_register.h"
#include "core/program/course_state.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

// Grade slots of the shipped course ("test1" … "test12"), the course of these folders.
constexpr int kShippedGradeSlots = 12;

constexpr int kStudents = 10000;

QString studentName(int i) {
    return QStringLiteral("Студент %1").arg(i, 5, 10, QLatin1Char('0'));
}

QByteArray scrambledValue(const QString& plain) {
    QByteArray out;
    crypt(CodePage::encode(plain), kScrambleKey, out);
    return out;
}

// A course folder whose register and name list hold kStudents students with mixed grades.
class BigCourseFolder {
public:
    BigCourseFolder() : previous_(QDir::currentPath()) {
        QByteArray entries;
        QByteArray names;
        for (int i = 0; i < kStudents; ++i) {
            const QByteArray name = CodePage::encode(studentName(i));
            entries += '[' + name +
                       "]\r\npassword=" + scrambledValue(QStringLiteral("pw%1").arg(i)) + "\r\n";
            for (int test = 1; test <= kShippedGradeSlots; ++test) {
                entries += "test" + QByteArray::number(test) + '=' +
                           scrambledValue(QString::number((i + test) % 6)) + "\r\n";
            }
            names += name + "\r\n";
        }
        QDir::setCurrent(dir_.path());
        write(QStringLiteral("users.ini"), entries);
        write(QStringLiteral("users"), names);
    }
    ~BigCourseFolder() { QDir::setCurrent(previous_); }
    BigCourseFolder(const BigCourseFolder&) = delete;
    BigCourseFolder& operator=(const BigCourseFolder&) = delete;

private:
    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(dir_.filePath(name));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
            throw std::runtime_error("cannot write the benchmark folder");
        }
    }

    QTemporaryDir dir_;
    QString previous_;
};

void BM_StudentSignIn(benchmark::State& state) {
    const BigCourseFolder folder;
    const QString name = studentName(kStudents - 1).toUpper(); // the last section, other case
    const QString password = QStringLiteral("pw%1").arg(kStudents - 1);
    for (auto _ : state) {
        if (SignIn::check(name, password, QStringLiteral("admin"), QStringLiteral("admin")) !=
            SignIn::Outcome::Student) {
            state.SkipWithError("sign-in refused");
            break;
        }
        CourseState signedIn(CourseBook::current());
        signedIn.signInStudent(name);
        benchmark::DoNotOptimize(signedIn.isEnabled(QStringLiteral("N2")));
    }
}
BENCHMARK(BM_StudentSignIn)->Unit(benchmark::kMillisecond);

// Each round registers one more student (the register grows by one section per round) or deletes
// another, as a class does one after the other.
void BM_Registration(benchmark::State& state) {
    const BigCourseFolder folder;
    UserList list = UserList::load(); // the list the window holds since start-up
    int n = 0;
    for (auto _ : state) {
        const auto refusal =
            Registration::registerStudent(QStringLiteral("Жаңа студент %1").arg(n++),
                                          QStringLiteral("pw"), QStringLiteral("admin"), list);
        if (refusal) {
            state.SkipWithError("registration refused");
            break;
        }
    }
}
BENCHMARK(BM_Registration)->Unit(benchmark::kMillisecond);

void BM_Deletion(benchmark::State& state) {
    const BigCourseFolder folder;
    UserList list = UserList::load();
    int n = 0;
    for (auto _ : state) {
        const int i = (kStudents / 2 + n++) % kStudents;
        const auto refusal =
            Registration::deleteStudent(studentName(i), QStringLiteral("pw%1").arg(i), list);
        if (refusal) {
            state.SkipWithError("deletion refused");
            break;
        }
    }
}
BENCHMARK(BM_Deletion)->Unit(benchmark::kMillisecond);

void BM_CloseWriteBack(benchmark::State& state) {
    const BigCourseFolder folder;
    Grades grades{};
    grades.fill(4);
    for (auto _ : state) {
        UserRegister::writeGrades(studentName(kStudents / 2), grades);
    }
}
BENCHMARK(BM_CloseWriteBack)->Unit(benchmark::kMillisecond);

} // namespace
