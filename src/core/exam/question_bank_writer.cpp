// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/question_bank_writer.h"

#include "core/exam/aiken_reader.h"
#include "core/exam/bank_question.h"
#include "core/exam/html_text.h"
#include "core/storage/scrambled_store.h"

#include <QXmlStreamWriter>
#include <algorithm>

namespace velmora {
namespace {

// A question as the bank gets it.
struct Exported {
    int number = 0;
    QString text;
    QStringList answers;
    int correct = 0; // index into answers
};

// A question of the two answers trueAnswer() and falseAnswer(), in that order: a true/false
// question where the format has the type.
bool isTrueFalse(const Exported& q) {
    return q.answers == QStringList{trueAnswer(), falseAnswer()};
}

QString category(const QString& testName) {
    return QStringLiteral("$course$/top/") + testName;
}

QString title(int number) {
    return QStringLiteral("Вопрос %1").arg(number);
}

QString giftEscaped(const QString& text) {
    static const QString special = QStringLiteral("\\~=#{}:");
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (special.contains(c)) {
            out += u'\\';
        }
        out += c;
    }
    return out;
}

// A text the reader would take for a format marker ("[html]") or, as an answer, for a weight
// ("%50%") unless its first character is written as a character reference.
bool startsAsMarker(const QString& t) {
    return t.startsWith(u'[') || t.startsWith(u'%');
}

bool needsHtml(const Exported& q) {
    auto hasMarkup = [](const QString& t) {
        return t.contains(u'<') || t.contains(u'>') || t.contains(u'&') || startsAsMarker(t);
    };
    return hasMarkup(q.text) || std::any_of(q.answers.begin(), q.answers.end(), hasMarkup);
}

// The text as HTML, a first character that would read as a marker or a weight as a reference.
QString giftHtml(const QString& t) {
    const QString html = HtmlText::escaped(t);
    return startsAsMarker(html)
               ? QStringLiteral("&#%1;").arg(html.front().unicode()) + html.sliced(1)
               : html;
}

QByteArray aiken(const QList<Exported>& questions) {
    QString out;
    for (const Exported& q : questions) {
        out += q.text + u'\n';
        for (qsizetype i = 0; i < q.answers.size(); ++i) {
            out += QChar(u'A' + int(i)) + QStringLiteral(". ") + q.answers[i] + u'\n';
        }
        out += QStringLiteral("ANSWER: ") + QChar(u'A' + q.correct) + QStringLiteral("\n\n");
    }
    return out.toUtf8();
}

QByteArray gift(const QList<Exported>& questions, const QString& testName) {
    QString out = QStringLiteral("$CATEGORY: %1\n\n").arg(category(testName));
    for (const Exported& q : questions) {
        const bool html = needsHtml(q);
        auto text = [html](const QString& t) { return giftEscaped(html ? giftHtml(t) : t); };
        out += QStringLiteral("::%1::").arg(giftEscaped(title(q.number)));
        out += (html ? QStringLiteral("[html]") : QString()) + text(q.text);
        if (isTrueFalse(q)) {
            out += q.correct == 0 ? QStringLiteral(" {T}\n\n") : QStringLiteral(" {F}\n\n");
            continue;
        }
        out += QStringLiteral(" {\n");
        for (qsizetype i = 0; i < q.answers.size(); ++i) {
            out += (i == q.correct ? u'=' : u'~') + text(q.answers[i]) + u'\n';
        }
        out += QStringLiteral("}\n\n");
    }
    return out.toUtf8();
}

void writeHtmlText(QXmlStreamWriter& xml, const QString& text) {
    xml.writeStartElement(QStringLiteral("text"));
    if (!text.isEmpty()) {
        xml.writeCDATA(QStringLiteral("<p>") + HtmlText::escaped(text) + QStringLiteral("</p>"));
    }
    xml.writeEndElement();
}

void writeEmptyText(QXmlStreamWriter& xml, const QString& element) {
    xml.writeStartElement(element);
    xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
    xml.writeTextElement(QStringLiteral("text"), QString());
    xml.writeEndElement();
}

// An answer; a true/false question's "true" and "false" are bare words, as the platform reads
// them.
void writeAnswer(QXmlStreamWriter& xml, const QString& text, bool correct, bool bare = false) {
    xml.writeStartElement(QStringLiteral("answer"));
    xml.writeAttribute(QStringLiteral("fraction"),
                       correct ? QStringLiteral("100") : QStringLiteral("0"));
    if (bare) {
        xml.writeAttribute(QStringLiteral("format"), QStringLiteral("moodle_auto_format"));
        xml.writeTextElement(QStringLiteral("text"), text);
    } else {
        xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        writeHtmlText(xml, text);
    }
    writeEmptyText(xml, QStringLiteral("feedback"));
    xml.writeEndElement();
}

void writeHeading(QXmlStreamWriter& xml, const Exported& q, const QString& type) {
    xml.writeAttribute(QStringLiteral("type"), type);
    xml.writeStartElement(QStringLiteral("name"));
    xml.writeTextElement(QStringLiteral("text"), title(q.number));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("questiontext"));
    xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
    writeHtmlText(xml, q.text);
    xml.writeEndElement();
    writeEmptyText(xml, QStringLiteral("generalfeedback"));
    xml.writeTextElement(QStringLiteral("defaultgrade"), QStringLiteral("1"));
}

void writeQuestion(QXmlStreamWriter& xml, const Exported& q) {
    xml.writeStartElement(QStringLiteral("question"));
    if (isTrueFalse(q)) {
        // The platform's own true/false: a wrong answer leaves nothing to try again for.
        writeHeading(xml, q, QStringLiteral("truefalse"));
        xml.writeTextElement(QStringLiteral("penalty"), QStringLiteral("1"));
        xml.writeTextElement(QStringLiteral("hidden"), QStringLiteral("0"));
        writeAnswer(xml, QStringLiteral("true"), q.correct == 0, true);
        writeAnswer(xml, QStringLiteral("false"), q.correct == 1, true);
        xml.writeEndElement();
        return;
    }
    writeHeading(xml, q, QStringLiteral("multichoice"));
    xml.writeTextElement(QStringLiteral("penalty"), QStringLiteral("0"));
    xml.writeTextElement(QStringLiteral("hidden"), QStringLiteral("0"));
    xml.writeTextElement(QStringLiteral("single"), QStringLiteral("true"));
    xml.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("false"));
    xml.writeTextElement(QStringLiteral("answernumbering"), QStringLiteral("ABCD"));
    for (qsizetype i = 0; i < q.answers.size(); ++i) {
        writeAnswer(xml, q.answers[i], i == q.correct);
    }
    xml.writeEndElement();
}

QByteArray moodleXml(const QList<Exported>& questions, const QString& testName) {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("quiz"));
    xml.writeStartElement(QStringLiteral("question"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
    xml.writeStartElement(QStringLiteral("category"));
    xml.writeTextElement(QStringLiteral("text"), category(testName));
    xml.writeEndElement();
    xml.writeEndElement();
    for (const Exported& q : questions) {
        writeQuestion(xml, q);
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

// Why Aiken cannot hold the question text, or nothing: a text that begins as an answer line or
// as the "ANSWER:" line would be read as one.
QString aikenProblem(const QString& text) {
    QString start;
    if (AikenReader::isAnswerKey(text)) {
        start = text.first(QStringLiteral("ANSWER:").size());
    } else if (AikenReader::isAnswerLine(text)) {
        start = text.first(2);
    } else {
        return {};
    }
    return QStringLiteral("формат Aiken не хранит вопрос, начинающийся с «%1»").arg(start);
}

// True when a text holds white space that every format reads as one blank: a run of blanks,
// a tab, a no-break space.
bool hasLooseSpace(const Exported& q) {
    auto loose = [](const QString& t) { return t.simplified() != t; };
    return loose(q.text) || std::any_of(q.answers.begin(), q.answers.end(), loose);
}

void simplify(Exported& q) {
    q.text = q.text.simplified();
    for (QString& answer : q.answers) {
        answer = answer.simplified();
    }
}

} // namespace

QString QuestionBankWriter::answerText(const QString& stored, int position) {
    const QString prefix = QChar(u'A' + position - 1) + QStringLiteral(")");
    return (stored.startsWith(prefix) ? stored.sliced(prefix.size()) : stored).trimmed();
}

QuestionBankWriter::Result QuestionBankWriter::write(const QList<Question>& questions,
                                                     BankFormat format, const QString& testName) {
    Result result;
    QList<Exported> exported;
    for (qsizetype n = 0; n < questions.size(); ++n) {
        const Question& q = questions[n];
        const int number = int(n + 1);
        const auto letter = q.correctLetter();
        if (q.text == missingValue() || q.text.trimmed().isEmpty() || !letter) {
            result.warnings.append(QStringLiteral("Вопрос №%1 не выгружен: %2.")
                                       .arg(number)
                                       .arg(letter
                                                ? QStringLiteral("нет текста вопроса")
                                                : QStringLiteral("не отмечен правильный ответ")));
            continue;
        }
        Exported e{number, q.text.trimmed(), {}, letter->unicode() - u'A'};
        for (int position = 1; position <= int(q.answers.size()); ++position) {
            const QString& stored = q.answers[position - 1];
            e.answers.append(stored == missingValue() ? QString() : answerText(stored, position));
        }
        // At least two answers: a single one reads as a short-answer question elsewhere.
        while (e.answers.size() > std::max(e.correct + 1, 2) && e.answers.last().isEmpty()) {
            e.answers.removeLast();
        }
        if (const QString problem = format == BankFormat::Aiken ? aikenProblem(e.text) : QString();
            !problem.isEmpty()) {
            result.warnings.append(
                QStringLiteral("Вопрос №%1 не выгружен: %2.").arg(number).arg(problem));
            continue;
        }
        if (hasLooseSpace(e)) {
            simplify(e);
            result.warnings.append(QStringLiteral("Вопрос №%1: пробелы подряд, табуляции и "
                                                  "неразрывные пробелы записаны одним пробелом.")
                                       .arg(number));
        }
        exported.append(e);
    }
    result.written = int(exported.size());
    switch (format) {
    case BankFormat::Aiken:
        result.text = aiken(exported);
        break;
    case BankFormat::Gift:
        result.text = gift(exported, testName);
        break;
    case BankFormat::MoodleXml:
        result.text = moodleXml(exported, testName);
        break;
    }
    return result;
}

} // namespace velmora
