// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

struct CourseBook;

// The course's own texts and pictures as the title page and the two about windows show them, the
// pictures found where they can be drawn from.
struct CourseTitle {
    QString institution;
    QString department;
    QString kind;
    QString title;
    QString subject;
    QString author;
    QString post;
    QString programmeCode;
    QString speciality;
    QString placeAndYear;
    // The pictures as files to render: the course folder's, or the program's copy of the shipped
    // course's picture when the folder lacks it.
    QString emblem;
    QString emblemText;
    QString cover;
    QString portrait;

    // The title of `course`, whose folder is the current directory.
    static CourseTitle of(const CourseBook& course);
    // The title of the course of the program folder.
    static CourseTitle current();
};

} // namespace velmora
