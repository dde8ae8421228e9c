// SPDX-License-Identifier: GPL-3.0-or-later
#include "soak_operations.h"

#include "core/access/registration.h"
#include "core/access/user_list.h"
#include "core/access/user_register.h"
#include "core/course/course_book.h"
#include "core/exam/test_log.h"
#include "core/storage/failure.h"
#include "core/storage/safe_file.h"
#include "core/storage/scrambled_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace velmora::soak {
namespace {

// Grade slots of the shipped course ("test1" … "test12"), the course of these folders.
constexpr int kShippedGradeSlots = 12;

const QString kLog = QStringLiteral("log.txt");
constexpr int kBaseStudents = 300;

void writeOrThrow(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (writeFileAtomically(path, bytes) != 0) {
        throw Failure(QStringLiteral("cannot write ") + path);
    }
}

// Runs `work` with `folder` as the current directory.
void inFolder(const QString& folder, const std::function<void()>& work) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    try {
        work();
    } catch (...) {
        QDir::setCurrent(previous);
        throw;
    }
    QDir::setCurrent(previous);
}

} // namespace

void prepareFolder(const QString& folder) {
    writeOrThrow(folder + QStringLiteral("/users"), QByteArray());
    writeOrThrow(folder + QStringLiteral("/data/info/tumb.db"), "admin|admin|log.txt\r\n");
}

QString studentName(int worker, int k) {
    return QStringLiteral("Оқушы %1-%2").arg(worker).arg(k);
}

QString password(const QString& name) {
    return QStringLiteral("пароль ") + name;
}

int gradeOf(int worker, int k) {
    return 1 + (worker + k) % 5;
}

int testOf(int k) {
    return 1 + k % kShippedGradeSlots;
}

QString logLine(int worker, int k) {
    const QDateTime when(QDate(2026, 1, 1 + k % 28), QTime(worker, k % 60, 0));
    return TestLog::line(studentName(worker, k), when, UserRegister::testKey(testOf(k)),
                         gradeOf(worker, k));
}

void runWorker(int worker, int ops) {
    UserList list = UserList::load();
    for (int i = 0; i < ops; ++i) {
        const int k = i / 3;
        const QString name = studentName(worker, k);
        switch (i % 3) {
        case 0:
            if (const auto refusal = Registration::registerStudent(name, password(name),
                                                                   QStringLiteral("admin"), list)) {
                throw Failure(QStringLiteral("registration refused: ") + *refusal);
            }
            break;
        case 1:
            writeini(name, UserRegister::testKey(testOf(k)), QString::number(gradeOf(worker, k)),
                     UserRegister::path());
            break;
        default:
            TestLog::append(kLog, logLine(worker, k));
        }
    }
}

void prepareKillFolder(const QString& folder) {
    inFolder(folder, [] {
        for (int s = 0; s < kBaseStudents; ++s) {
            const QString name = QStringLiteral("base%1").arg(s);
            if (!UserRegister::addStudent(name, password(name))) {
                throw Failure(QStringLiteral("cannot add ") + name);
            }
        }
    });
}

namespace {

// Newcomers register at a fixed moment, so that the register a step makes can be worked out
// beforehand.
QDateTime newcomersMoment() {
    return QDateTime(QDate(2026, 1, 1), QTime(8, 0));
}

} // namespace

void prepareStep() {
    // The first local time a process reads loads the time zone, and the first register write
    // reads the course (its grade slots): each takes longer than a write under the sanitizers.
    // Done before the write starts, the kills still fall across the write.
    (void)newcomersMoment().toLocalTime().toString(Qt::ISODate);
    (void)CourseBook::current();
}

void applyStep(int step) {
    const QString newcomer = QStringLiteral("new%1").arg(step / 3);
    switch (step % 3) {
    case 0:
        if (!UserRegister::addStudent(newcomer, password(newcomer), newcomersMoment())) {
            throw Failure(QStringLiteral("cannot add ") + newcomer);
        }
        break;
    case 1: {
        Grades grades{};
        for (int t = 1; t <= kShippedGradeSlots; ++t) {
            grades[t] = static_cast<quint8>((step + t) % 6);
        }
        UserRegister::writeGrades(newcomer, grades);
        break;
    }
    default:
        UserRegister::erase(QStringLiteral("base%1").arg((step / 3) % kBaseStudents));
    }
}

QByteArray registerText(const QString& folder) {
    return readWholeFile(folder + QStringLiteral("/users.ini")).value_or(QByteArray());
}

QByteArray expectedAfter(const QString& scratch, const QByteArray& before, int step) {
    writeOrThrow(scratch + QStringLiteral("/users.ini"), before);
    inFolder(scratch, [step] { applyStep(step); });
    return registerText(scratch);
}

int leftoverTemporaryFiles(const QString& folder) {
    return static_cast<int>(
        QDir(folder)
            .entryList({QStringLiteral(".users.ini.*")}, QDir::Files | QDir::Hidden)
            .size());
}

} // namespace velmora::soak
