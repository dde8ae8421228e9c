// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The data files' reads and rewrites on Windows, through the system's own calls: Qt opens files
// without sharing their deletion, so a copy of the program reading the register would make the
// rename of another copy's rewrite fail.
namespace velmora::windows {

// Reads the whole file, letting others read, write, rename and replace it meanwhile. Without a
// value when it cannot be read; `error` then holds the matching error number (ENOENT, EACCES, …).
std::optional<QByteArray> readWholeFile(const QString& path, int* error);

// Writes the content to a new file beside `path` (".name.XXXXXX"), flushes it to disk and renames
// it over `path` with write-through, so a crash leaves the old file or the new one. A program that
// holds the old file open without sharing (a virus scanner, an editor) is waited for, up to about
// two seconds. Temporary files of rewrites cut short are removed first: the caller holds the file's
// lock. Returns 0 or the matching error number; the file is then as it was.
int replaceFile(const QString& path, const QByteArray& content);

// The error number of a Windows error code, for the messages made from error numbers.
int errorNumberOf(unsigned long windowsError);

} // namespace velmora::windows
