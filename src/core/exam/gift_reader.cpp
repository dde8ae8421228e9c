// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/gift_reader.h"

#include "core/exam/html_text.h"

#include <optional>

namespace velmora {
namespace {

// The gap of a missing-word question, where the answers stand in the text.
const QString& gap() {
    static const QString text = QStringLiteral("_____");
    return text;
}

// The index of the first `c` at or after `from` that no backslash escapes, or -1.
qsizetype findUnescaped(QStringView text, QChar c, qsizetype from = 0) {
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u'\\') {
            ++i;
        } else if (text[i] == c) {
            return i;
        }
    }
    return -1;
}

qsizetype findUnescaped(QStringView text, QStringView what, qsizetype from = 0) {
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u'\\') {
            ++i;
        } else if (text.sliced(i).startsWith(what)) {
            return i;
        }
    }
    return -1;
}

QString unescaped(QStringView text) {
    static const QString escapable = QStringLiteral("~=#{}:\\");
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const QChar next = text[i + 1];
            if (escapable.contains(next)) {
                out += next;
                ++i;
                continue;
            }
            if (next == u'n') {
                out += u'\n';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

enum class TextFormat { Html, Other };

// Removes a leading format marker from `text` and says which format it named.
TextFormat takeFormat(QString& text, TextFormat inherited) {
    static const QStringList markers = {QStringLiteral("[html]"), QStringLiteral("[moodle]"),
                                        QStringLiteral("[plain]"), QStringLiteral("[markdown]")};
    const QString trimmed = text.trimmed();
    for (const QString& marker : markers) {
        if (trimmed.startsWith(marker, Qt::CaseInsensitive)) {
            text = trimmed.sliced(marker.size());
            return marker == markers.first() ? TextFormat::Html : TextFormat::Other;
        }
    }
    return inherited;
}

QString plainText(QStringView raw, TextFormat format, QStringList& droppedFiles) {
    const QString text = unescaped(raw);
    return format == TextFormat::Html ? HtmlText::plain(text, &droppedFiles) : text.simplified();
}

// What stands between the braces: its answers, or the kind of question that is not ours.
class AnswerBlock {
public:
    AnswerBlock(QStringView block, TextFormat format, BankQuestion& question)
        : block_(block.trimmed()), format_(format), question_(question) {}

    void read() {
        if (block_.isEmpty()) {
            question_.otherKind = QStringLiteral("эссе");
        } else if (block_.startsWith(u'#')) {
            question_.otherKind = QStringLiteral("числовой вопрос");
        } else if (const auto truth = trueFalseValue()) {
            question_.setTrueFalse(*truth ? 100 : 0, *truth ? 0 : 100);
        } else {
            readAnswers();
        }
    }

private:
    // The truth a true/false block ("T", "TRUE", "F", "FALSE", feedback after "#") gives the
    // statement, or nothing for any other block.
    std::optional<bool> trueFalseValue() const {
        const qsizetype feedback = findUnescaped(block_, u'#');
        const QString value =
            block_.first(feedback < 0 ? block_.size() : feedback).trimmed().toString().toUpper();
        if (value == u"T" || value == u"TRUE") {
            return true;
        }
        if (value == u"F" || value == u"FALSE") {
            return false;
        }
        return std::nullopt;
    }

    void readAnswers() {
        bool wrongSeen = false;
        bool matching = false;
        qsizetype at = nextAnswer(0);
        while (at >= 0) {
            const qsizetype next = nextAnswer(at + 1);
            QStringView answer = block_.sliced(at + 1, (next < 0 ? block_.size() : next) - at - 1);
            const bool correct = block_[at] == u'=';
            wrongSeen = wrongSeen || !correct;
            matching = matching || (correct && findUnescaped(answer, u"->") >= 0);
            add(answer, correct);
            at = next;
        }
        if (matching) {
            question_.otherKind = QStringLiteral("вопрос на соответствие");
        } else if (!wrongSeen && !question_.answers.isEmpty()) {
            question_.otherKind = QStringLiteral("вопрос с кратким ответом");
        }
    }

    // The next unescaped "=" or "~" at or after `from`, where an answer begins, or -1.
    qsizetype nextAnswer(qsizetype from) const {
        for (qsizetype i = from; i < block_.size(); ++i) {
            if (block_[i] == u'\\') {
                ++i;
            } else if (block_[i] == u'=' || block_[i] == u'~') {
                return i;
            }
        }
        return -1;
    }

    void add(QStringView answer, bool correct) {
        double fraction = correct ? 100 : 0;
        if (answer.startsWith(u'%')) {
            const qsizetype end = answer.indexOf(u'%', 1);
            bool ok = false;
            const double weight = end > 0 ? answer.sliced(1, end - 1).toDouble(&ok) : 0;
            if (ok) {
                fraction = weight;
                answer = answer.sliced(end + 1);
            }
        }
        const qsizetype feedback = findUnescaped(answer, u'#');
        QString text = answer.first(feedback < 0 ? answer.size() : feedback).toString();
        const TextFormat format = takeFormat(text, format_);
        question_.answers.append({plainText(text, format, question_.droppedFiles), fraction});
    }

    QStringView block_;
    TextFormat format_;
    BankQuestion& question_;
};

// One block of lines between blank lines, comments removed.
BankQuestion questionOf(const QString& block, int number) {
    BankQuestion question;
    question.number = number;
    QStringView rest = block;
    if (rest.trimmed().startsWith(u"::")) {
        rest = rest.trimmed().sliced(2);
        const qsizetype end = findUnescaped(rest, u"::");
        const qsizetype titleEnd = end < 0 ? 0 : end;
        question.title = unescaped(rest.first(titleEnd)).simplified();
        rest = rest.sliced(end < 0 ? 0 : end + 2);
    }
    QString text = rest.toString();
    const TextFormat format = takeFormat(text, TextFormat::Other);
    const qsizetype open = findUnescaped(text, u'{');
    if (open < 0) {
        question.text = plainText(text, format, question.droppedFiles);
        question.otherKind = QStringLiteral("описание, а не вопрос");
        return question;
    }
    const qsizetype close = findUnescaped(text, u'}', open + 1);
    const QStringView before = QStringView(text).first(open);
    const QStringView after = close < 0 ? QStringView() : QStringView(text).sliced(close + 1);
    const QString gapText = after.trimmed().isEmpty() ? QString() : u' ' + gap() + u' ';
    question.text =
        plainText(before.toString() + gapText + after.toString(), format, question.droppedFiles);
    if (close < 0) {
        question.otherKind = QStringLiteral("нет закрывающей скобки «}»");
        return question;
    }
    AnswerBlock(QStringView(text).sliced(open + 1, close - open - 1), format, question).read();
    return question;
}

bool isComment(const QString& line) {
    return line.trimmed().startsWith(u"//");
}

bool isCategory(const QString& line) {
    return line.trimmed().startsWith(u"$CATEGORY:");
}

} // namespace

BankReading GiftReader::read(const QStringList& lines) {
    BankReading reading;
    QString block;
    auto endBlock = [&] {
        if (!block.trimmed().isEmpty()) {
            reading.questions.append(questionOf(block, int(reading.questions.size()) + 1));
        }
        block.clear();
    };
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty()) {
            endBlock();
        } else if (isCategory(line) && block.trimmed().isEmpty()) {
            block.clear(); // categories have no place in a test; the questions keep their order
        } else if (!isComment(line)) {
            block += line + u'\n';
        }
    }
    endBlock();
    return reading;
}

} // namespace velmora
