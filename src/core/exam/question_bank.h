// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/bank_question.h"
#include "core/exam/question_source_converter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

enum class BankFormat { Aiken, Gift, MoodleXml };

// A question bank of another system turned into our question source. A single-answer
// multiple-choice question with two to five answers, one of them correct, is imported with its
// answers in their order; missing letters get empty answers ("D)") and a warning. A true/false
// question becomes one of two answers, trueAnswer() and falseAnswer(), with a warning that says
// so. A warning names each picture or other file a question's texts lose. Every other
// question is skipped whole with a warning naming its number in the bank and its title, as is one
// whose text the test file cannot hold (the store's own reason). The last warning counts the
// imported and skipped questions.
class QuestionBank {
public:
    // The format of a command line's name: "aiken", "gift", "moodle-xml".
    static std::optional<BankFormat> formatNamed(const QString& name);
    // A file's format: ".gift" GIFT, ".xml" Moodle XML (any letter case); otherwise Aiken when
    // the file is no question source of ours (QuestionSource::isSource) and reads whole as an
    // Aiken bank (AikenReader::readsWhole); nothing for any other file.
    static std::optional<BankFormat> formatOf(const QString& path, const QByteArray& bytes);
    // Reads the file and tells its format as above; throws the runtime's input/output error, and
    // the refusal of QuestionSource::requireText for a file of a name of no format.
    static std::optional<BankFormat> formatOfFile(const QString& path);

    // Reads a bank; throws a Failure only for a Moodle XML file that declares a document type.
    static QuestionBank read(const QByteArray& bytes, BankFormat format);
    // The same for a file; throws the runtime's input/output error when it cannot be read, and
    // for Aiken and GIFT the refusal of QuestionSource::requireText (Moodle XML tells its own
    // encoding).
    static QuestionBank readFile(const QString& path, BankFormat format);
    // The message when no question of the bank at `bankPath` was imported: nothing is written.
    static QString nothingImported(const QString& bankPath);

    // The imported questions as source lines: per question its text, five answer lines with the
    // correct one marked, and the separator between questions.
    const QStringList& sourceLines() const { return lines_; }
    // The same as UTF-8 text, one line each.
    QByteArray sourceText() const;
    const QStringList& warnings() const { return warnings_; }
    int imported() const { return imported_; }
    int skipped() const { return skipped_; }

    // Converts the imported questions into the test file as the converter converts a source; the
    // result's warnings begin with the bank's.
    ConversionResult build(QuestionSourceConverter& converter, const QString& outputPath,
                           TestFileWrite write = TestFileWrite::Update) const;
    // Where the source of a bank is written: beside it, "<name>.source.txt".
    static QString sourceBeside(const QString& bankPath);

private:
    void take(const BankQuestion& question);

    QStringList lines_;
    QStringList warnings_;
    int imported_ = 0;
    int skipped_ = 0;
};

} // namespace velmora
