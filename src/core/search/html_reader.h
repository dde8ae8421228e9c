// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace velmora {

// Splits HTML into text runs and tags, forgivingly, as a browser does: comments, doctypes and
// processing instructions are skipped; the content of script, style, title and textarea is one raw
// run up to its end tag; a "<" that opens no tag is text. Written by hand because QtCore has no
// HTML tokenizer and QTextDocument, which has one, is a GUI class and builds a whole layout
// document, far slower than the index needs.
class HtmlReader {
public:
    enum class Kind { Text, StartTag, EndTag, End };
    struct Token {
        Kind kind = Kind::End;
        QStringView text;       // a text run, entities not yet decoded
        QStringView name;       // a tag's name as written
        QStringView attributes; // what follows a start tag's name, up to its ">"
        QStringView element;    // for the raw content of script, style, title, textarea: its tag
    };

    explicit HtmlReader(QStringView html) : html_(html) {}

    Token next();

    // The value of the attribute `name` (any letter case) in a start tag's attributes.
    static std::optional<QStringView> attribute(QStringView attributes, QStringView name);

private:
    std::optional<Token> tagAt(qsizetype at);
    Token rawText();
    qsizetype skipTagRest(qsizetype from) const;

    QStringView html_;
    qsizetype pos_ = 0;
    QStringView rawEnd_; // the element whose raw content comes next
};

} // namespace velmora
