// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace velmora {

// The one failure type of the program. Logic throws it with the exact text the user is to see;
// the UI's handler guard catches it, shows the text in the default error box and ends the handler.
class Failure : public std::exception {
public:
    explicit Failure(QString message);

    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

namespace failures {

// "'%s' is not a valid integer value"
Failure invalidInteger(const QString& text);
// "Cannot open file "%s". %s" with the system's reason.
Failure cannotOpenFile(const QString& path, int errorNumber);
// "Cannot create file "%s". %s" with the system's reason: a plain data file could not be written.
Failure cannotCreateFile(const QString& path, int errorNumber);
// "Unable to write to %s"
Failure unableToWrite(const QString& path);
// The runtime's input/output texts: "File not found", "Invalid filename", "File access denied",
// "Disk full" or "I/O error %d", chosen from the system's error number. A missing folder on the
// way to `path` turns ENOENT into "Invalid filename".
QString ioErrorText(int errorNumber, const QString& path);
Failure ioError(int errorNumber, const QString& path);

} // namespace failures

// The text the default error box shows for a failure message: a full stop is appended when the
// message's last character sorts after the full stop.
QString errorBoxText(const QString& message);

} // namespace velmora
