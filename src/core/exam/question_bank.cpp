// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/question_bank.h"

#include "core/exam/aiken_reader.h"
#include "core/exam/gift_reader.h"
#include "core/exam/moodle_xml_reader.h"
#include "core/exam/question_source.h"
#include "core/exam/test_shape.h"
#include "core/storage/failure.h"
#include "core/storage/safe_file.h"
#include "core/storage/scrambled_store.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

constexpr int kNameLength = 60; // of a question's name in a warning

bool isFull(double fraction) {
    return std::abs(fraction - 100) < 1e-6;
}
bool isNone(double fraction) {
    return std::abs(fraction) < 1e-6;
}

QChar letter(int index) {
    return QChar(u'A' + index);
}

// "Вопрос №N «title»": the title, or the start of the text when the bank gave none.
QString nameOf(const BankQuestion& q) {
    QString label = q.title.isEmpty() ? q.text : q.title;
    if (label.size() > kNameLength) {
        label = label.first(kNameLength - 1) + u'…';
    }
    const QString number = QStringLiteral("Вопрос №%1").arg(q.number);
    return label.isEmpty() ? number : number + QStringLiteral(" «%1»").arg(label);
}

// Why the question cannot become one of ours, or nothing.
QString skipReason(const BankQuestion& q) {
    if (!q.otherKind.isEmpty()) {
        return q.otherKind;
    }
    if (q.text.isEmpty()) {
        return QStringLiteral("нет текста вопроса");
    }
    if (q.answers.size() > kAnswersPerQuestion) {
        return QStringLiteral("ответов больше пяти (%1)").arg(q.answers.size());
    }
    const auto& answers = q.answers;
    if (std::any_of(answers.begin(), answers.end(),
                    [](const auto& a) { return !isFull(a.fraction) && !isNone(a.fraction); })) {
        return QStringLiteral("ответы с частичной оценкой");
    }
    if (q.severalAllowed) {
        return QStringLiteral("можно выбрать несколько ответов");
    }
    const auto correct = std::count_if(answers.begin(), answers.end(),
                                       [](const auto& a) { return isFull(a.fraction); });
    if (correct == 0) {
        return QStringLiteral("нет правильного ответа");
    }
    if (correct > 1) {
        return QStringLiteral("несколько правильных ответов");
    }
    if (answers.size() < 2) {
        return QStringLiteral("меньше двух ответов");
    }
    return {};
}

// The question line, kept from being read as an answer, a separator or a mark.
QString questionLine(const QString& text) {
    QString line = text;
    const bool letterFirst =
        line.front() >= u'A' && line.front() <= letter(kAnswersPerQuestion - 1);
    if (letterFirst && line.size() >= 2 && line[1] == u')') {
        line.prepend(u' ');
    } else if (line == QStringLiteral("********") || (letterFirst && line.back() == u'*')) {
        line.append(u' ');
    }
    return line;
}

// The answer line of `position` (0 ... 4): "A) text", "*" after the correct one; a wrong answer's
// own final "*" is kept from reading as the mark by a blank.
QString answerLine(int position, const QString& text, bool correct) {
    QString line = letter(position) + QStringLiteral(")");
    if (!text.isEmpty()) {
        line += u' ' + text;
    }
    if (correct) {
        line += u'*';
    } else if (line.back() == u'*') {
        line += u' ';
    }
    return line;
}

// The value a source line leaves in the test file: a final mark becomes a blank.
QString storedValue(const QString& line, bool correct) {
    return correct ? line.first(line.size() - 1) + u' ' : line;
}

// ".gift" GIFT, ".xml" Moodle XML, any letter case.
std::optional<BankFormat> formatOfName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"gift") {
        return BankFormat::Gift;
    }
    if (suffix == u"xml") {
        return BankFormat::MoodleXml;
    }
    return std::nullopt;
}

} // namespace

std::optional<BankFormat> QuestionBank::formatNamed(const QString& name) {
    if (name == u"aiken") {
        return BankFormat::Aiken;
    }
    if (name == u"gift") {
        return BankFormat::Gift;
    }
    if (name == u"moodle-xml") {
        return BankFormat::MoodleXml;
    }
    return std::nullopt;
}

std::optional<BankFormat> QuestionBank::formatOf(const QString& path, const QByteArray& bytes) {
    if (const auto named = formatOfName(path)) {
        return named;
    }
    const QStringList lines = QuestionSource::lines(bytes);
    if (!QuestionSource::isSource(lines) && AikenReader::readsWhole(lines)) {
        return BankFormat::Aiken;
    }
    return std::nullopt;
}

std::optional<BankFormat> QuestionBank::formatOfFile(const QString& path) {
    int error = 0;
    const auto bytes = readWholeFile(path, &error);
    if (!bytes) {
        throw failures::ioError(error, path);
    }
    if (!formatOfName(path)) {
        QuestionSource::requireText(*bytes, path);
    }
    return formatOf(path, *bytes);
}

QuestionBank QuestionBank::read(const QByteArray& bytes, BankFormat format) {
    BankReading reading;
    switch (format) {
    case BankFormat::Aiken:
        reading = AikenReader::read(QuestionSource::lines(bytes));
        break;
    case BankFormat::Gift:
        reading = GiftReader::read(QuestionSource::lines(bytes));
        break;
    case BankFormat::MoodleXml:
        reading = MoodleXmlReader::read(bytes);
        break;
    }
    QuestionBank bank;
    for (const BankQuestion& question : reading.questions) {
        bank.take(question);
    }
    bank.warnings_ += reading.warnings;
    bank.warnings_.append(QStringLiteral("Импортировано вопросов: %1, пропущено: %2.")
                              .arg(bank.imported_)
                              .arg(bank.skipped_));
    return bank;
}

QuestionBank QuestionBank::readFile(const QString& path, BankFormat format) {
    int error = 0;
    const auto bytes = readWholeFile(path, &error);
    if (!bytes) {
        throw failures::ioError(error, path);
    }
    if (format != BankFormat::MoodleXml) {
        QuestionSource::requireText(*bytes, path);
    }
    return read(*bytes, format);
}

QString QuestionBank::nothingImported(const QString& bankPath) {
    return QStringLiteral("Из банка %1 не импортировано ни одного вопроса: ничего не записано")
        .arg(bankPath);
}

void QuestionBank::take(const BankQuestion& question) {
    QString reason = skipReason(question);
    QStringList block;
    if (reason.isEmpty()) {
        block.append(questionLine(question.text));
        reason = unstorableValueReason(block.first());
        for (int i = 0; i < kAnswersPerQuestion && reason.isEmpty(); ++i) {
            const bool given = i < question.answers.size();
            const bool correct = given && isFull(question.answers[i].fraction);
            block.append(answerLine(i, given ? question.answers[i].text : QString(), correct));
            reason = unstorableValueReason(storedValue(block.last(), correct));
        }
    }
    if (!reason.isEmpty()) {
        warnings_.append(QStringLiteral("%1 пропущен: %2.").arg(nameOf(question), reason));
        ++skipped_;
        return;
    }
    QStringList notes;
    if (question.trueFalse) {
        notes.append(QStringLiteral("вопрос «верно/неверно» превращён в вопрос с двумя ответами "
                                    "«%1» и «%2»")
                         .arg(trueAnswer(), falseAnswer()));
    } else if (question.answers.size() < kAnswersPerQuestion) {
        QStringList empty;
        for (qsizetype i = question.answers.size(); i < kAnswersPerQuestion; ++i) {
            empty.append(letter(int(i)) + QStringLiteral(")"));
        }
        notes.append((empty.size() == 1 ? QStringLiteral("ответ %1 оставлен пустым")
                                        : QStringLiteral("ответы %1 оставлены пустыми"))
                         .arg(empty.join(QStringLiteral(", "))));
    }
    for (const QString& file : question.droppedFiles) {
        notes.append(QStringLiteral("картинка %1 не перенесена")
                         .arg(file.isEmpty() ? QStringLiteral("без имени") : file));
    }
    if (!notes.isEmpty()) {
        warnings_.append(
            QStringLiteral("%1: %2.").arg(nameOf(question), notes.join(QStringLiteral("; "))));
    }
    if (!lines_.isEmpty()) {
        lines_.append(QStringLiteral("********"));
    }
    lines_ += block;
    ++imported_;
}

QByteArray QuestionBank::sourceText() const {
    QByteArray text;
    for (const QString& line : lines_) {
        text += line.toUtf8() + '\n';
    }
    return text;
}

ConversionResult QuestionBank::build(QuestionSourceConverter& converter, const QString& outputPath,
                                     TestFileWrite write) const {
    ConversionResult result = converter.convertLines(lines_, outputPath, write);
    result.warnings = warnings_ + result.warnings;
    return result;
}

QString QuestionBank::sourceBeside(const QString& bankPath) {
    const QFileInfo bank(bankPath);
    return bank.absolutePath() + u'/' + bank.completeBaseName() + QStringLiteral(".source.txt");
}

} // namespace velmora
