// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace velmora::admin {

// A new course folder that runs at once: its course.toml with the title page texts to fill in,
// one menu of one lecture and its test, the style sheet and pictures, the help page, an empty
// test log and user list, the question source of test 1 with two sample questions, and the
// administrator settings with a login and a password made up for it.
class NewCourse {
public:
    // The course called `title`, its id made from the folder's name.
    NewCourse(const QString& folderName, QString title);

    // The course's id: the folder's name in lower case, whatever is no latin letter or digit
    // written "-"; "course" when nothing of it is left.
    static QString idFor(const QString& folderName);

    QString id() const { return id_; }
    QString login() const { return QStringLiteral("admin"); }
    QString password() const { return password_; }

    // Makes the folder with every file. It must not exist or be empty; the files are written into
    // a folder beside it and renamed into place at once, so a failure leaves nothing. Throws
    // Failure with the reason.
    void create(const QString& folder) const;

private:
    // The files' contents by their path in the folder, except the built test.
    QMap<QString, QByteArray> files() const;
    QByteArray courseFile() const;

    QString id_;
    QString title_;
    QString password_;
};

} // namespace velmora::admin
