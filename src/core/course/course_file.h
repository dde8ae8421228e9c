// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/course/course_book.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace velmora {

// One problem of a course folder, as `velmora-admin course check` lists it and the program's error
// box names it.
struct CourseProblem {
    enum class Severity { Error, Warning };

    Severity severity = Severity::Error;
    QString file;      // "course.toml", or a document's path in the course folder with "/"
    SourcePlace place; // 0:0 when the problem has no place in the file
    QString text; // Russian, as the program's other boxes: "неизвестный ключ «captoin»"

    bool isError() const { return severity == Severity::Error; }
    // "course.toml:12:3: text"; "file: text" without a place.
    QString line() const;
};

// What reading a course file gave: the course as far as it could be read, and every problem.
struct CourseFileReading {
    CourseBook course;
    std::vector<CourseProblem> problems;

    bool hasErrors() const;
    // The first error, for the error box; empty when there is none.
    QString firstError() const;
};

// The course file's name at the course folder's root.
inline constexpr QLatin1String kCourseFileName{"course.toml"};

// The questions the built file of test N holds ("vsego"); nothing when it cannot be read.
using QuestionCount = std::function<std::optional<int>(int test)>;

// Reads and checks the text of a course.toml. Pure: files of the course folder (documents,
// pictures, built tests) are looked up only through `exists`, which takes a path in the course
// folder with "/". A missing document or picture is an error; a test without its built file is a
// warning. With `questions`, a test's draw above the questions of its built file is an error.
CourseFileReading readCourseFile(const QByteArray& text,
                                 const std::function<bool(const QString&)>& exists,
                                 const QuestionCount& questions = {});

// Whether a file exists at the path with "/" in `folder`, letter case matched as the program
// matches it.
bool courseFileExists(const QString& folder, const QString& relative);

} // namespace velmora
