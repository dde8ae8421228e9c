// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/course/course_book.h"

#include <QByteArray>
#include <QMap>
#include <QString>

namespace velmora::admin {

// A course folder packed for the machines of a computer lab: a Debian package of the course alone
// ("velmora-course-<id>", depending on the program's package) that installs it under
// /usr/share/velmora/courses/<id>/ with its own applications-menu entry, icon and AppStream
// metadata; or a zip file of the folder for machines without the package manager. Either holds
// the course as the students start it: course.toml, data/, the question sources, an empty user
// list and test log; never the files a trial run left (registrations, logs, locks).
class CoursePackage {
public:
    // The course of `folder`, which must check without errors.
    CoursePackage(QString folder, CourseBook course);

    // "velmora-course-<id>" in lower case.
    QString packageName() const;
    // The desktop entry's and the metadata's id: "org.velmora.Velmora.Course_<id>".
    QString appId() const;

    // The files of the course folder as packed, by their path in it.
    QMap<QString, QByteArray> courseFiles() const;

    // Builds the Debian package of version `version` into the folder `outputFolder` with
    // dpkg-deb; returns its path. Throws Failure with dpkg-deb's reason, or naming the package to
    // install when dpkg-deb is missing.
    QString buildDeb(const QString& outputFolder, const QString& version,
                     const QString& maintainer) const;
    // Writes the zip file "<id>.zip" into `outputFolder`, the course in a folder "<id>"; returns
    // its path.
    QString buildZip(const QString& outputFolder) const;

private:
    QByteArray desktopEntry() const;
    QByteArray metainfo() const;
    QByteArray control(const QString& version, const QString& maintainer,
                       qint64 installedKilobytes) const;
    QByteArray copyright() const;
    QByteArray changelog(const QString& version, const QString& maintainer) const;

    QString folder_;
    CourseBook course_;
};

} // namespace velmora::admin
