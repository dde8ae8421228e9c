// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/bank_question.h"

#include <QByteArray>

namespace velmora {

// Reads a Moodle XML export with Qt's XML stream reader, one question element at a time. Every
// "question" but those of type "category" is a question of the bank: its "name", "questiontext",
// "single" and "answer" elements (with their "fraction") are read, the rest skipped. A question
// of type "truefalse" becomes its two answers, with the credits of its answers "true" and
// "false". Texts in HTML, CDATA or not, are reduced to plain text; the pictures and files of the
// question and its answers ("file", "image", "image_base64", and those its HTML shows or links)
// are left out and named. A document type
// declaration refuses the file: entities it declares are never expanded, and none is fetched.
// A broken document is read up to the error, which a warning names.
class MoodleXmlReader {
public:
    // Throws a Failure for a file with a document type declaration.
    static BankReading read(const QByteArray& bytes);
};

} // namespace velmora
