// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace velmora {

struct CourseBook;

// Where the course's results go besides the test log: results.toml in the course folder names a
// Learning Record Store (its xAPI endpoint), the key and secret of a client that may write
// statements there, and the IRI that names the course in every statement. A course folder without
// the file sends nothing anywhere.
struct ResultsSettings {
    QString endpoint; // "https://lrs.school.kz/xapi/", always ending in "/"
    QString key;
    QString secret;
    QString courseIri; // empty in the file: made from the course's id

    // The file's name at the course folder's root.
    static QString fileName() { return QStringLiteral("results.toml"); }

    // The settings of the course folder, the course IRI filled in from `course` when the file
    // names none; nothing when there is no results.toml. Throws Failure with
    // "results.toml: problem" when the file cannot be read or lacks a key.
    static std::optional<ResultsSettings> read(const QString& folder, const CourseBook& course);
    // Writes the file owner-only, atomically and under its lock; a course IRI equal to the
    // course's own default is left out. Throws Failure when it cannot be written.
    static void write(const QString& folder, const ResultsSettings& settings,
                      const CourseBook& course);

    // The IRI a course is named by when results.toml names none.
    static QString defaultCourseIri(const CourseBook& course);
    // The file's text and its reading; parse throws Failure naming the problem.
    static QByteArray text(const ResultsSettings& settings);
    static ResultsSettings parse(const QByteArray& text);

    // The value of the Authorization header: "Basic base64(key:secret)".
    QByteArray authorization() const;
    // The IRI of test `testname` ("test3") of the course.
    QString testIri(const QString& testname) const;
};

} // namespace velmora
