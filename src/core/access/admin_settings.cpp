// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/admin_settings.h"

#include "core/access/access_texts.h"
#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QByteArrayView>
#include <QFileInfo>
#include <array>

namespace velmora {
namespace {

QByteArrayView firstLine(QByteArrayView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            return text.first(i);
        }
    }
    return text;
}

bool breaksTheLine(const QString& box) {
    return box.contains(QLatin1Char('|')) || box.contains(QLatin1Char('\r')) ||
           box.contains(QLatin1Char('\n'));
}

// True when the test log setting names no file the log could be: nothing, blanks, a folder, or a
// name ending in a separator.
bool namesNoFile(const QString& reportFile) {
    if (reportFile.trimmed().isEmpty() || reportFile.endsWith(QLatin1Char('\\')) ||
        reportFile.endsWith(QLatin1Char('/'))) {
        return true;
    }
    return QFileInfo(openPath(reportFile)).isDir();
}

} // namespace

AdminSettings AdminSettings::fromLine(const QString& line) {
    std::array<QString, 3> fields;
    std::size_t field = 0;
    for (const QChar c : line) {
        if (c == QLatin1Char('|')) {
            ++field;
        } else if (field < fields.size()) {
            fields[field] += c;
        }
    }
    return {fields[0], fields[1], fields[2]};
}

QString AdminSettings::line() const {
    return login + QLatin1Char('|') + password + QLatin1Char('|') + reportFile;
}

AdminSettings AdminSettings::read() {
    const QString path = openPath(filePath());
    int error = 0;
    const auto text = readWholeFile(path, &error);
    if (!text) {
        throw failures::ioError(error, path);
    }
    return fromLine(CodePage::decode(firstLine(*text)));
}

void AdminSettings::write() const {
    const QString path = openPath(filePath());
    const QByteArray content = CodePage::encode(line()) + QByteArrayLiteral("\r\n");
    const FileLock lock(path);
    if (!lock.held()) {
        throw failures::ioError(lock.error(), path);
    }
    if (const int error = writeFileAtomically(path, content); error != 0) {
        throw failures::ioError(error, path);
    }
}

std::optional<QString> AdminSettings::applyRefusal(const QString& login, const QString& password,
                                                   const QString& passwordAgain,
                                                   const QString& reportFile) {
    if (password != passwordAgain) {
        return texts::checkPassword();
    }
    if (login.isEmpty() || breaksTheLine(login) || breaksTheLine(password) ||
        breaksTheLine(reportFile)) {
        return texts::invalidAdminSettings();
    }
    if (namesNoFile(reportFile)) {
        return texts::invalidReportFile();
    }
    return std::nullopt;
}

} // namespace velmora
