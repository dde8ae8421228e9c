// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/aiken_reader.h"

#include <QRegularExpression>

namespace velmora {
namespace {

const QString& answerKey() {
    static const QString key = QStringLiteral("ANSWER:");
    return key;
}

bool isCapital(QChar c) {
    return c >= u'A' && c <= u'Z';
}

// The letter of an answer line "A. text", "A) text" or an empty "A.", otherwise nothing.
QChar answerLetter(const QString& line) {
    const bool marked = line.size() >= 2 && isCapital(line[0]) &&
                        (line[1] == u'.' || line[1] == u')') &&
                        (line.size() == 2 || line[2] == u' ' || line[2] == u'\t');
    return marked ? line[0] : QChar();
}

class AikenQuestion {
public:
    bool isOpen() const { return open_; }
    bool hasAnswers() const { return !question_.answers.isEmpty(); }

    void open(int number) {
        question_ = BankQuestion();
        question_.number = number;
        letters_.clear();
        text_.clear();
        open_ = true;
    }
    void addText(const QString& line) { text_.append(line); }
    void addAnswer(QChar letter, const QString& text) {
        question_.answers.append({text.simplified(), 0});
        letters_.append(letter);
    }
    // Marks the answer of each one-letter word in `key`, the text after "ANSWER:"; "A, C" marks
    // two of them.
    void markCorrect(const QString& key) {
        static const QRegularExpression separators(QStringLiteral("[\\s,;]+"));
        for (const QString& word : key.split(separators, Qt::SkipEmptyParts)) {
            const qsizetype at = word.size() == 1 ? letters_.indexOf(word[0]) : -1;
            if (at >= 0) {
                question_.answers[at].fraction = 100;
            }
        }
    }
    void closeInto(BankReading& reading) {
        question_.text = text_.join(u' ').simplified();
        reading.questions.append(question_);
        open_ = false;
    }

private:
    BankQuestion question_;
    QList<QChar> letters_;
    QStringList text_;
    bool open_ = false;
};

} // namespace

bool AikenReader::isAnswerKey(const QString& line) {
    return line.trimmed().startsWith(answerKey(), Qt::CaseInsensitive);
}

bool AikenReader::isAnswerLine(const QString& line) {
    return !answerLetter(line.trimmed()).isNull();
}

bool AikenReader::readsWhole(const QStringList& lines) {
    enum class Expect { Question, TextOrAnswer, AnswerOrKey };
    Expect expect = Expect::Question;
    bool closed = false;
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const bool key = isAnswerKey(line);
        const bool answer = !key && isAnswerLine(line);
        switch (expect) {
        case Expect::Question:
            if (key || answer) {
                return false;
            }
            expect = Expect::TextOrAnswer;
            break;
        case Expect::TextOrAnswer:
            if (key) {
                return false;
            }
            expect = answer ? Expect::AnswerOrKey : Expect::TextOrAnswer;
            break;
        case Expect::AnswerOrKey:
            if (!key && !answer) {
                return false;
            }
            expect = key ? Expect::Question : Expect::AnswerOrKey;
            break;
        }
        closed = key;
    }
    return closed;
}

BankReading AikenReader::read(const QStringList& lines) {
    BankReading reading;
    AikenQuestion question;
    int number = 0;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty()) {
            continue;
        }
        const QChar letter = answerLetter(line);
        const bool key = isAnswerKey(line);
        // A text line after the answers starts the next question.
        if (!question.isOpen() || (letter.isNull() && !key && question.hasAnswers())) {
            if (question.isOpen()) {
                question.closeInto(reading);
            }
            question.open(++number);
        }
        if (key) {
            question.markCorrect(line.sliced(answerKey().size()).toUpper());
            question.closeInto(reading);
        } else if (!letter.isNull()) {
            question.addAnswer(letter, line.sliced(2));
        } else {
            question.addText(line);
        }
    }
    if (question.isOpen()) {
        question.closeInto(reading);
    }
    return reading;
}

} // namespace velmora
