// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/test_log.h"

#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace velmora {
namespace {

const QString kSeparator = QStringLiteral(" | ");

// Why the log path cannot be used at all, as a system error number, or 0. An empty setting
// names no file; a folder is never opened as the log.
int unusablePath(const QString& reportfile, const QString& path) {
    if (reportfile.trimmed().isEmpty()) {
        return ENOENT;
    }
    return QFileInfo(path).isDir() ? EISDIR : 0;
}

} // namespace

QString TestLog::line(const QString& username, const QDateTime& when, const QString& testname,
                      int grade) {
    return QStringList{username, when.toString(QStringLiteral("HH:mm:ss")),
                       when.toString(QStringLiteral("dd.MM.yyyy")), testname,
                       QString::number(grade)}
        .join(kSeparator);
}

QString TestLog::path(const QString& reportfile) {
    if (reportfile.isEmpty()) {
        return programFolder();
    }
    return openPath(reportfile);
}

QString TestLog::companionPath(const QString& reportfile, const QString& part) {
    if (reportfile.trimmed().isEmpty()) {
        return {};
    }
    const QFileInfo log(path(reportfile));
    const QString suffix = log.suffix();
    const QString name = suffix.isEmpty() ? log.fileName() + QLatin1Char('.') + part
                                          : log.completeBaseName() + QLatin1Char('.') + part +
                                                QLatin1Char('.') + suffix;
    return log.dir().filePath(name);
}

void TestLog::append(const QString& reportfile, const QString& line) {
    const QString file = path(reportfile);
    int error = unusablePath(reportfile, file);
    if (error == EISDIR) {
        error = EACCES; // a folder cannot be opened for writing
    }
    if (error == 0) {
        error = appendToFile(file, CodePage::encode(line + QStringLiteral("\r\n")));
    }
    if (error != 0) {
        throw failures::ioError(error, file);
    }
}

QStringList TestLog::read(const QString& reportfile) {
    const QString file = path(reportfile);
    int error = unusablePath(reportfile, file);
    std::optional<QByteArray> bytes;
    if (error == 0) {
        bytes = readWholeFile(file, &error);
    }
    if (!bytes) {
        throw failures::cannotOpenFile(file, error);
    }
    QString text = CodePage::decode(*bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

} // namespace velmora
