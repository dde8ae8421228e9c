// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace velmora::test {

// One run of velmora-admin: its exit status (-1 when it did not end normally) and what it printed.
struct AdminRun {
    int status = -1;
    QString out;
    QString err;
    QByteArray outBytes; // the output as printed, byte order mark and all
};

// Runs velmora-admin in `folder`, as a teacher does in the course folder, talking UTF-8 on its
// terminal. The test programs that include this define VELMORA_ADMIN, the built program's path.
inline AdminRun runAdmin(const QStringList& args, const QString& folder = QDir::currentPath()) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(VELMORA_ADMIN), args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        return {-1, {}, QStringLiteral("velmora-admin did not finish"), {}};
    }
    const QByteArray out = process.readAllStandardOutput();
    return {process.exitCode(), QString::fromUtf8(out),
            QString::fromUtf8(process.readAllStandardError()), out};
}

} // namespace velmora::test
