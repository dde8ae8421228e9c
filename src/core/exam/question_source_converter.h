// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/question_record.h"

#include <QString>
#include <QStringList>

namespace velmora {

struct ConversionResult {
    int questions = 0;    // question lines found; stored as the test's "vsego"
    QStringList warnings; // see SourceWarnings
};

// What becomes of an existing test file: updated (the sections the conversion does not write stay,
// as the scrambling tool does it) or replaced whole by the conversion's sections alone.
enum class TestFileWrite { Update, Replace };

// Turns a plain-text question source into a scrambled test file. After every source line the
// whole working record is due in the section its number names; the conversion gathers those
// writes and puts them into the test file at once: the file is read and replaced atomically under
// its lock, with exactly the bytes that writing each value through writeini would leave (into an
// empty file, when it is replaced whole). A failure leaves the file and the working record as
// they were.
class QuestionSourceConverter {
public:
    const QuestionRecord& record() const { return record_; }

    // Throws the runtime's input/output error when the source cannot be read, "Строка N: ..." for a
    // line whose text cannot be stored, and "Unable to write to <path>" when the output cannot be
    // written.
    ConversionResult convert(const QString& sourcePath, const QString& outputPath,
                             TestFileWrite write = TestFileWrite::Update);
    // The same for the lines of a source already read (an imported question bank).
    ConversionResult convertLines(const QStringList& lines, const QString& outputPath,
                                  TestFileWrite write = TestFileWrite::Update);

    // The progress text: "Вопрос №" and the number of question lines.
    static QString progressText(int questions);
    // The test file named `testName` beside the source file: its folder, the name and ".ini", in
    // the letter case of an existing file of that name. Throws when the name is empty.
    static QString outputBeside(const QString& sourcePath, const QString& testName);

private:
    QuestionRecord record_;
};

} // namespace velmora
