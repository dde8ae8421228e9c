// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::soak {

// The work of the soak processes, through the same logic the main window's handlers call.

// A course folder with an empty name list, settings naming "log.txt" as the test log, no register.
void prepareFolder(const QString& folder);
// The name of student `k` of worker `w`, and the operations a worker does in turn.
QString studentName(int worker, int k);
QString password(const QString& name);
// The grade worker `w` writes for its student `k`, and the test it is written under.
int gradeOf(int worker, int k);
int testOf(int k);
// The log line worker `w` appends for its student `k`.
QString logLine(int worker, int k);
// Operation i of a worker: i % 3 == 0 registers student i / 3, 1 writes its grade, 2 logs it.
void runWorker(int worker, int ops);

// The killed-writer soak: a register of many students, and the write of step `step` (a new
// student, the grades of the last one, or the erasure of an older one), done in the current folder.
void prepareKillFolder(const QString& folder);
// Does what a step needs before its first write (loading the time zone), so that a writer killed
// after it signalled falls across the write itself.
void prepareStep();
void applyStep(int step);
// The register of `folder` as it stands.
QByteArray registerText(const QString& folder);
// The register that step `step` makes of `before`, worked out in the folder `scratch`.
QByteArray expectedAfter(const QString& scratch, const QByteArray& before, int step);
// Temporary files of interrupted rewrites in `folder`.
int leftoverTemporaryFiles(const QString& folder);

} // namespace velmora::soak
