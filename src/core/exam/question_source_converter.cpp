// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/question_source_converter.h"

#include "core/exam/question_source.h"
#include "core/exam/source_warnings.h"
#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/ini_batch.h"
#include "core/storage/ini_file.h"
#include "core/storage/scrambled_store.h"

#include <QFileInfo>
#include <QHash>

namespace velmora {
namespace {

// The value as writeini stores it.
QByteArray stored(const QString& value) {
    QByteArray out;
    crypt(CodePage::encode(value), kScrambleKey, out);
    return out;
}

// The text a line put into the record must read back whole from the test file.
void checkStorable(const SourceLineEffect& effect, const QuestionRecord& record, int lineNumber) {
    QString value;
    if (effect.kind == SourceLineKind::Answer) {
        value = record.answers[effect.answer - 1];
    } else if (effect.kind == SourceLineKind::Question) {
        value = record.text;
    } else {
        return;
    }
    const QString reason = unstorableValueReason(value);
    if (!reason.isEmpty()) {
        throw Failure(QStringLiteral("Строка %1: %2").arg(lineNumber).arg(reason));
    }
}

// The record as it stands after the last line of each section, in the order sections are first
// written.
class SectionRecords {
public:
    void keep(const QuestionRecord& record) {
        const auto found = index_.constFind(record.number);
        if (found == index_.cend()) {
            index_.insert(record.number, records_.size());
            records_.append(record);
        } else {
            records_[*found] = record;
        }
    }

    IniBatch batch(int questions) const {
        IniBatch batch;
        for (const QuestionRecord& record : records_) {
            const QByteArray section = CodePage::encode(record.number);
            for (const auto& [key, value] : record.values()) {
                batch.setValue(section, key.toLatin1(), stored(value));
            }
        }
        batch.setValue(testkeys::infoSection().toLatin1(), testkeys::total().toLatin1(),
                       stored(QString::number(questions)));
        return batch;
    }

private:
    QList<QuestionRecord> records_;
    QHash<QString, qsizetype> index_;
};

} // namespace

ConversionResult QuestionSourceConverter::convert(const QString& sourcePath,
                                                  const QString& outputPath, TestFileWrite write) {
    return convertLines(QuestionSource::read(sourcePath), outputPath, write);
}

ConversionResult QuestionSourceConverter::convertLines(const QStringList& lines,
                                                       const QString& outputPath,
                                                       TestFileWrite write) {
    QuestionRecord record = record_;
    ConversionResult result;
    SourceWarnings warnings;
    SectionRecords sections;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const SourceLineEffect effect = record.take(lines[i], result.questions);
        checkStorable(effect, record, static_cast<int>(i + 1));
        warnings.take(effect, result.questions, record.number);
        sections.keep(record);
    }
    const IniBatch batch = sections.batch(result.questions);
    IniFile(outputPath).update([&batch, write](QByteArray& text) {
        if (write == TestFileWrite::Replace) {
            text.clear();
        }
        batch.applyTo(text);
        return true;
    });
    record_ = record;
    result.warnings = warnings.list();
    return result;
}

QString QuestionSourceConverter::progressText(int questions) {
    return QStringLiteral("Вопрос №") + QString::number(questions);
}

QString QuestionSourceConverter::outputBeside(const QString& sourcePath, const QString& testName) {
    if (testName.isEmpty()) {
        throw Failure(QStringLiteral("Введите название теста."));
    }
    QString name = testName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return matchLetterCase(QFileInfo(sourcePath).absolutePath() + QLatin1Char('/') + name +
                           QStringLiteral(".ini"));
}

} // namespace velmora
