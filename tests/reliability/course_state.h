// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/temp_folder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <ostream>

// Texts in test failures as text, not as arrays of characters.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace velmora::test {

// A course folder in which every command works: student "Ivan" (password "pw"), the name list,
// the settings naming "log.txt", test 1 with two questions, a question source.
void prepareCourse(const TempFolder& folder);
// Every file below the folder with its bytes, and every folder.
std::map<QString, QByteArray> snapshot(const TempFolder& folder);
// The files whose bytes differ between two snapshots, or which came or went.
QStringList changedFiles(const std::map<QString, QByteArray>& was,
                         const std::map<QString, QByteArray>& now);

} // namespace velmora::test
