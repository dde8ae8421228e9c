// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/test_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>

namespace velmora::test {

// Copies every file of the folder `source` (a course folder of the source tree) into `target`,
// each copy writable, as an installed course folder is.
inline void copyFolder(const QString& source, const QString& target) {
    QDirIterator it(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString copy = target + QLatin1Char('/') + QDir(source).relativeFilePath(file);
        QDir().mkpath(QFileInfo(copy).absolutePath());
        QFile::copy(file, copy);
        QFile::setPermissions(copy, QFile::permissions(copy) | QFileDevice::WriteOwner);
    }
}

// The positions (1 … 5) of the right answers of test `test` of the current folder, from its file;
// with `right` false, a wrong answer to each question instead.
inline QList<int> answerPositions(int test, bool right = true) {
    const TestFile file = TestFile::named(QStringLiteral("test%1").arg(test));
    QList<int> positions;
    for (int k = 1; k <= file.total(); ++k) {
        const std::optional<QChar> letter = file.question(k).correctLetter();
        const int correct = letter ? letter->unicode() - u'A' + 1 : 1;
        positions.append(right ? correct : correct % 2 + 1);
    }
    return positions;
}

} // namespace velmora::test
