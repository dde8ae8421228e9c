// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/moodle_xml_reader.h"

#include "core/exam/html_text.h"
#include "core/storage/failure.h"

#include <QXmlStreamReader>

namespace velmora {
namespace {

QString otherKind(QStringView type) {
    static const QList<std::pair<QString, QString>> kinds = {
        {QStringLiteral("shortanswer"), QStringLiteral("вопрос с кратким ответом")},
        {QStringLiteral("matching"), QStringLiteral("вопрос на соответствие")},
        {QStringLiteral("numerical"), QStringLiteral("числовой вопрос")},
        {QStringLiteral("essay"), QStringLiteral("эссе")},
        {QStringLiteral("cloze"), QStringLiteral("вопрос со встроенными ответами (cloze)")},
        {QStringLiteral("multianswer"), QStringLiteral("вопрос со встроенными ответами (cloze)")},
        {QStringLiteral("description"), QStringLiteral("описание, а не вопрос")},
    };
    if (type == u"multichoice" || type == u"truefalse") {
        return {};
    }
    for (const auto& [name, kind] : kinds) {
        if (type == name) {
            return kind;
        }
    }
    return QStringLiteral("вопрос типа «%1»").arg(type);
}

bool isHtml(QStringView format) {
    return format != u"plain_text" && format != u"markdown";
}

class QuestionElement {
public:
    QuestionElement(QXmlStreamReader& xml, BankQuestion& question) : xml_(xml), q_(question) {}

    // Reads the children of the "question" element the reader stands on, up to its end.
    void read() {
        while (xml_.readNextStartElement()) {
            const QStringView name = xml_.name();
            if (name == u"name") {
                q_.title = textOf(u"plain_text");
            } else if (name == u"questiontext") {
                q_.text = textOf(xml_.attributes().value(QStringLiteral("format")));
            } else if (name == u"single") {
                const QString single = xml_.readElementText().trimmed();
                q_.severalAllowed = single == u"false" || single == u"0";
            } else if (name == u"answer") {
                readAnswer();
            } else if (name == u"image") { // older exports write it empty when there is none
                const QString image = xml_.readElementText().trimmed();
                imageNamed_ = imageNamed_ || !image.isEmpty();
                if (!image.isEmpty()) {
                    q_.dropFile(image);
                }
            } else if (name == u"image_base64") {
                imageData_ = imageData_ || !xml_.readElementText().trimmed().isEmpty();
            } else {
                xml_.skipCurrentElement();
            }
        }
        if (imageData_ && !imageNamed_) {
            q_.dropFile(QString());
        }
    }

    // Makes the question read a true/false one: its "true" and "false" answers' credits.
    void readAsTrueFalse() {
        double truth = 0;
        double falsehood = 0;
        for (const BankQuestion::Answer& answer : q_.answers) {
            if (answer.text.compare(u"true", Qt::CaseInsensitive) == 0) {
                truth = answer.fraction;
            } else if (answer.text.compare(u"false", Qt::CaseInsensitive) == 0) {
                falsehood = answer.fraction;
            }
        }
        q_.setTrueFalse(truth, falsehood);
    }

private:
    void readAnswer() {
        bool ok = false;
        const double fraction = xml_.attributes().value(QStringLiteral("fraction")).toDouble(&ok);
        const QString format = xml_.attributes().value(QStringLiteral("format")).toString();
        QString text;
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"text") {
                text = plain(xml_.readElementText(QXmlStreamReader::IncludeChildElements), format);
            } else if (xml_.name() == u"file") {
                dropFile();
            } else {
                xml_.skipCurrentElement(); // feedback (and its files), tolerance, ...
            }
        }
        q_.answers.append({text, ok ? fraction : 0});
    }

    // The plain text of an element holding "text" and perhaps "file" elements.
    QString textOf(QStringView format) {
        const QString formatName = format.toString();
        QString text;
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"text") {
                text =
                    plain(xml_.readElementText(QXmlStreamReader::IncludeChildElements), formatName);
            } else if (xml_.name() == u"file") {
                dropFile();
            } else {
                xml_.skipCurrentElement();
            }
        }
        return text;
    }

    // A "file" element the reader stands on: a file of the text, named by its "name".
    void dropFile() {
        q_.dropFile(xml_.attributes().value(QStringLiteral("name")).toString().trimmed());
        xml_.skipCurrentElement();
    }

    QString plain(const QString& text, QStringView format) {
        return isHtml(format) ? HtmlText::plain(text, &q_.droppedFiles) : text.simplified();
    }

    QXmlStreamReader& xml_;
    BankQuestion& q_;
    bool imageNamed_ = false; // an "image" element named the question's picture
    bool imageData_ = false;  // an "image_base64" element held a picture
};

QString xmlError(const QXmlStreamReader& xml) {
    return QStringLiteral("ошибка XML в строке %1 «%2»")
        .arg(xml.lineNumber())
        .arg(xml.errorString());
}

} // namespace

BankReading MoodleXmlReader::read(const QByteArray& bytes) {
    BankReading reading;
    QXmlStreamReader xml(bytes);
    bool errorInQuestion = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.tokenType() == QXmlStreamReader::DTD) {
            throw Failure(QStringLiteral("Файл Moodle XML с объявлением DTD не читается: "
                                         "его сущности не раскрываются."));
        }
        if (!xml.isStartElement() || xml.name() != u"question") {
            continue;
        }
        const QString type = xml.attributes().value(QStringLiteral("type")).toString();
        if (type == u"category") {
            xml.skipCurrentElement(); // our tests have no categories; the order is kept
            continue;
        }
        BankQuestion question;
        question.number = int(reading.questions.size()) + 1;
        question.otherKind = otherKind(type);
        QuestionElement element(xml, question);
        element.read();
        if (type == u"truefalse") {
            element.readAsTrueFalse();
        }
        if (xml.hasError()) {
            question.otherKind = xmlError(xml);
            errorInQuestion = true;
        }
        reading.questions.append(question);
    }
    if (xml.hasError() && !errorInQuestion) {
        reading.warnings.append(
            QStringLiteral("Строка %1: ошибка XML «%2», дальше файл не прочитан.")
                .arg(xml.lineNumber())
                .arg(xml.errorString()));
    }
    return reading;
}

} // namespace velmora
