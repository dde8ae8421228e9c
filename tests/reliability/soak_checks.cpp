// SPDX-License-Identifier: GPL-3.0-or-later
#include "soak_checks.h"

#include "core/access/user_list.h"
#include "core/access/user_register.h"
#include "core/storage/code_page.h"
#include "core/storage/ini_text.h"
#include "core/storage/safe_file.h"
#include "core/storage/scrambled_store.h"
#include "soak_operations.h"

#include <QHash>

namespace velmora::soak {
namespace {

// Grade slots of the shipped course ("test1" … "test12"), the course of these folders.
constexpr int kShippedGradeSlots = 12;

QString unscrambled(const std::optional<QByteArray>& value) {
    if (!value) {
        return QStringLiteral("(missing)");
    }
    QByteArray plain;
    crypt(*value, kScrambleKey, plain);
    return CodePage::decode(plain);
}

// How often each line occurs.
QHash<QString, int> lineCounts(const QStringList& lines) {
    QHash<QString, int> counts;
    for (const QString& line : lines) {
        ++counts[line];
    }
    return counts;
}

void checkStudent(const QByteArray& text, int worker, int k, bool graded,
                  SharedFolderReport& report) {
    const QString name = studentName(worker, k);
    const QByteArray section = CodePage::encode(name);
    qsizetype sections = 0;
    for (const QByteArray& s : IniText::sectionNames(text)) {
        sections += IniText::namesMatch(s, section) ? 1 : 0;
    }
    if (sections != 1) {
        report.problems.append(QStringLiteral("%1: %2 register sections").arg(name).arg(sections));
        return;
    }
    ++report.students;
    if (unscrambled(IniText::value(text, section, "password")) != password(name)) {
        report.problems.append(name + QStringLiteral(": wrong password"));
    }
    for (int t = 1; t <= kShippedGradeSlots; ++t) {
        QString expected = QString::number(t == 1 ? 1 : 0);
        if (graded && t == testOf(k)) {
            expected = QString::number(gradeOf(worker, k));
        }
        const QString found =
            unscrambled(IniText::value(text, section, UserRegister::testKey(t).toLatin1()));
        if (found != expected) {
            report.problems.append(
                QStringLiteral("%1: test%2 is %3, not %4").arg(name).arg(t).arg(found, expected));
        } else if (graded && t == testOf(k)) {
            ++report.grades;
        }
    }
}

} // namespace

SharedFolderReport checkSharedFolder(const QString& folder, int workers, int ops) {
    SharedFolderReport report;
    const QByteArray text =
        readWholeFile(folder + QStringLiteral("/users.ini")).value_or(QByteArray());
    const QHash<QString, int> names = lineCounts(
        UserList::parse(readWholeFile(folder + QStringLiteral("/users")).value_or(QByteArray())));
    // The log is single-byte text with CR LF line ends, as the name list is.
    const QHash<QString, int> log = lineCounts(
        UserList::parse(readWholeFile(folder + QStringLiteral("/log.txt")).value_or(QByteArray())));
    qsizetype students = 0;
    qsizetype lines = 0;
    for (int w = 0; w < workers; ++w) {
        for (int i = 0; i < ops; i += 3) {
            const int k = i / 3;
            ++students;
            checkStudent(text, w, k, i + 1 < ops, report);
            const QString name = studentName(w, k);
            if (names.value(name) != 1) {
                report.problems.append(QStringLiteral("%1: %2 times in the name list")
                                           .arg(name)
                                           .arg(names.value(name)));
            }
            if (i + 2 < ops) {
                ++lines;
                const int found = log.value(logLine(w, k));
                report.logLines += found == 1 ? 1 : 0;
                if (found != 1) {
                    report.problems.append(QStringLiteral("%1: %2 log lines").arg(name).arg(found));
                }
            }
        }
    }
    if (IniText::sectionNames(text).size() != students || names.size() != students) {
        report.problems.append(QStringLiteral("%1 sections and %2 listed names for %3 students")
                                   .arg(IniText::sectionNames(text).size())
                                   .arg(names.size())
                                   .arg(students));
    }
    if (log.size() != lines) {
        report.problems.append(
            QStringLiteral("%1 distinct log lines for %2 written").arg(log.size()).arg(lines));
    }
    return report;
}

} // namespace velmora::soak
