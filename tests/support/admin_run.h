#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace velmora::test {

// One run of the velmora-admin program in the current directory, as the teacher runs it.
struct AdminRun {
    int status = -1;
    QString out;
    QString err;
};

inline AdminRun runAdminProgram(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace velmora::test
