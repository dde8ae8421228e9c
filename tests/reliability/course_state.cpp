// SPDX-License-Identifier: GPL-3.0-or-later
#include "course_state.h"

#include "core/access/user_register.h"
#include "support/test_file_builder.h"

#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>

namespace velmora::test {

void prepareCourse(const TempFolder& folder) {
    folder.write(QStringLiteral("users"), "Ivan\r\n");
    if (!UserRegister::addStudent(QStringLiteral("Ivan"), QStringLiteral("pw"))) {
        FAIL() << "cannot register";
    }
    folder.write(QStringLiteral("data/info/tumb.db"), "admin|secret|log.txt\r\n");
    velmora::test::writeTestFile(QStringLiteral("test1"), velmora::test::numberedQuestions({1, 2}),
                                 QStringLiteral("2"));
    folder.write(QStringLiteral("log.txt"), "Ivan | 10:00:00 | 01.02.2026 | test1 | 5\r\n");
    folder.write(QStringLiteral("source.txt"), "Question?\r\nA) yes*\r\nB) no\r\n");
}

std::map<QString, QByteArray> snapshot(const TempFolder& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(folder.path()).relativeFilePath(path);
        files[relative] = it.fileInfo().isDir() ? QByteArray("<folder>") : folder.read(relative);
    }
    return files;
}

QStringList changedFiles(const std::map<QString, QByteArray>& was,
                         const std::map<QString, QByteArray>& now) {
    QStringList changed;
    for (const auto& [name, bytes] : now) {
        if (!was.contains(name) || was.at(name) != bytes) {
            changed.append(name);
        }
    }
    for (const auto& [name, bytes] : was) {
        if (!now.contains(name)) {
            changed.append(name);
        }
    }
    return changed;
}

} // namespace velmora::test
