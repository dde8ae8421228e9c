// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What must hold for a question bank read from any bytes, in every format: the reading ends, at
// most one warning per input line besides the closing count (for Moodle XML, where a whole file
// may be one line, at most one per question element and one for a broken document), the count
// matches, and the source lines it gives read back by our own line rules as exactly the imported
// questions, each with five answers and one mark, every value storable in a test file.

#include "core/exam/question_bank.h"
#include "core/exam/question_record.h"
#include "core/exam/question_source.h"
#include "core/exam/source_warnings.h"
#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"
#include "fuzz_input.h"

namespace velmora::fuzz {

inline void checkSourceLines(const QuestionBank& bank) {
    QuestionRecord record;
    SourceWarnings warnings;
    int questions = 0;
    for (const QString& line : bank.sourceLines()) {
        const SourceLineEffect effect = record.take(line, questions);
        warnings.take(effect, questions, record.number);
        if (effect.kind == SourceLineKind::Question) {
            check(unstorableValueReason(record.text).isEmpty());
        } else if (effect.kind == SourceLineKind::Answer) {
            check(unstorableValueReason(record.answers[effect.answer - 1]).isEmpty());
        }
    }
    check(questions == bank.imported());
    check(bank.imported() == 0 || warnings.list().isEmpty());
}

inline void checkBank(const std::uint8_t* data, std::size_t size, BankFormat format) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::optional<QuestionBank> bank;
    try {
        bank = QuestionBank::read(bytes, format);
    } catch (const Failure& failure) {
        // Only a Moodle XML file that declares a document type is refused whole.
        check(format == BankFormat::MoodleXml && failure.message().contains(u"DTD"));
        return;
    }
    const QStringList& warnings = bank->warnings();
    check(!warnings.isEmpty());
    check(warnings.last() == QStringLiteral("Импортировано вопросов: %1, пропущено: %2.")
                                 .arg(bank->imported())
                                 .arg(bank->skipped()));
    const qsizetype limit = format == BankFormat::MoodleXml ? bytes.count("<question") + 1
                                                            : QuestionSource::lines(bytes).size();
    check(warnings.size() - 1 <= limit);
    checkSourceLines(*bank);
}

} // namespace velmora::fuzz
