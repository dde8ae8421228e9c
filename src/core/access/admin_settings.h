// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace velmora {

// The administrator settings: the first line of the plain text file "data\info\tumb.db", three
// fields separated by "|": login, password and the test log file. Fields are taken as they stand
// (blanks belong to them); missing fields are empty and fields after the third are ignored.
struct AdminSettings {
    QString login;
    QString password;
    QString reportFile;

    static QString filePath() { return QStringLiteral("data\\info\\tumb.db"); }

    static AdminSettings fromLine(const QString& line);
    // "login|password|reportFile"
    QString line() const;

    // Reads the first line of the file; throws the input/output error text ("File not found",
    // "Invalid filename", "File access denied", ...) when it cannot be read.
    static AdminSettings read();
    // Replaces the file's whole content with the line and CR LF, atomically and under the file's
    // lock; throws the input/output error text when it cannot be written.
    void write() const;

    // Why the administrator screen's boxes cannot be stored: "Проверьте пароль!" when the two
    // passwords differ; "Недопустимые настройки администратора!" for an empty login, or a "|" or
    // a line break in any box; "Недопустимое имя файла отчета!" for a test log file that is empty,
    // blank or a folder (the journal could never read it). Nothing when they can.
    static std::optional<QString> applyRefusal(const QString& login, const QString& password,
                                               const QString& passwordAgain,
                                               const QString& reportFile);

    friend bool operator==(const AdminSettings&, const AdminSettings&) = default;
};

} // namespace velmora
