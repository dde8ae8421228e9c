// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search/html_reader.h"

#include <array>

namespace velmora {
namespace {

bool isAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isNameChar(QChar c) {
    return isAsciiLetter(c) || c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char(':') ||
           c == QLatin1Char('_');
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

// Elements whose content is not markup.
bool hasRawContent(QStringView name) {
    static constexpr std::array<QStringView, 4> raw = {u"script", u"style", u"title", u"textarea"};
    for (const QStringView r : raw) {
        if (name.compare(r, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

HtmlReader::Token textToken(QStringView text) {
    HtmlReader::Token token;
    token.kind = HtmlReader::Kind::Text;
    token.text = text;
    return token;
}

} // namespace

HtmlReader::Token HtmlReader::next() {
    if (!rawEnd_.isEmpty()) {
        return rawText();
    }
    while (pos_ < html_.size()) {
        if (html_.at(pos_) == QLatin1Char('<')) {
            const qsizetype at = pos_;
            if (const std::optional<Token> tag = tagAt(at)) {
                return *tag;
            }
            if (pos_ == at) {
                // A "<" that opens nothing: it is text, up to the next "<".
                const qsizetype end = html_.indexOf(QLatin1Char('<'), pos_ + 1);
                const qsizetype stop = end < 0 ? html_.size() : end;
                const QStringView text = html_.sliced(pos_, stop - pos_);
                pos_ = stop;
                return textToken(text);
            }
            continue; // a comment or declaration was skipped
        }
        const qsizetype end = html_.indexOf(QLatin1Char('<'), pos_);
        const qsizetype stop = end < 0 ? html_.size() : end;
        const QStringView text = html_.sliced(pos_, stop - pos_);
        pos_ = stop;
        return textToken(text);
    }
    return {};
}

// The tag at `at`; nothing when a comment or declaration was skipped (pos_ moved past it) or when
// the "<" opens no tag (pos_ unchanged).
std::optional<HtmlReader::Token> HtmlReader::tagAt(qsizetype at) {
    const QStringView rest = html_.sliced(at);
    if (rest.startsWith(u"<!--")) {
        const qsizetype end = html_.indexOf(u"-->", at + 4);
        pos_ = end < 0 ? html_.size() : end + 3;
        return std::nullopt;
    }
    if (rest.size() < 2) {
        return std::nullopt;
    }
    const QChar second = rest.at(1);
    if (second == QLatin1Char('!') || second == QLatin1Char('?')) {
        const qsizetype end = html_.indexOf(QLatin1Char('>'), at);
        pos_ = end < 0 ? html_.size() : end + 1;
        return std::nullopt;
    }
    const bool closing = second == QLatin1Char('/');
    const qsizetype nameStart = at + (closing ? 2 : 1);
    if (nameStart >= html_.size() || !isAsciiLetter(html_.at(nameStart))) {
        return std::nullopt;
    }
    qsizetype nameEnd = nameStart;
    while (nameEnd < html_.size() && isNameChar(html_.at(nameEnd))) {
        ++nameEnd;
    }
    const qsizetype close = skipTagRest(nameEnd);
    pos_ = close < html_.size() ? close + 1 : close;
    Token tag;
    tag.kind = closing ? Kind::EndTag : Kind::StartTag;
    tag.name = html_.sliced(nameStart, nameEnd - nameStart);
    tag.attributes = html_.sliced(nameEnd, close - nameEnd);
    if (!closing && hasRawContent(tag.name) && !tag.attributes.trimmed().endsWith(u'/')) {
        rawEnd_ = tag.name;
    }
    return tag;
}

// The position of the ">" that ends a tag whose attributes start at `from`; quoted values may
// hold ">". The end of the text when there is none.
qsizetype HtmlReader::skipTagRest(qsizetype from) const {
    bool afterEquals = false;
    for (qsizetype i = from; i < html_.size(); ++i) {
        const QChar c = html_.at(i);
        if (c == QLatin1Char('>')) {
            return i;
        }
        if (afterEquals && (c == QLatin1Char('"') || c == QLatin1Char('\''))) {
            const qsizetype end = html_.indexOf(c, i + 1);
            if (end < 0) {
                return html_.size();
            }
            i = end;
            afterEquals = false;
        } else if (c == QLatin1Char('=')) {
            afterEquals = true;
        } else if (!isBlank(c)) {
            afterEquals = false;
        }
    }
    return html_.size();
}

HtmlReader::Token HtmlReader::rawText() {
    qsizetype end = pos_;
    for (;;) {
        end = html_.indexOf(u"</", end);
        if (end < 0) {
            end = html_.size();
            break;
        }
        const QStringView after = html_.sliced(end + 2);
        if (after.startsWith(rawEnd_, Qt::CaseInsensitive) &&
            (after.size() == rawEnd_.size() || !isNameChar(after.at(rawEnd_.size())))) {
            break;
        }
        end += 2;
    }
    const QStringView text = html_.sliced(pos_, end - pos_);
    pos_ = end;
    const QStringView element = rawEnd_;
    rawEnd_ = {};
    Token token = textToken(text);
    token.element = element;
    return token;
}

std::optional<QStringView> HtmlReader::attribute(QStringView attributes, QStringView name) {
    qsizetype i = 0;
    const qsizetype n = attributes.size();
    while (i < n) {
        while (i < n && (isBlank(attributes.at(i)) || attributes.at(i) == QLatin1Char('/'))) {
            ++i;
        }
        const qsizetype nameStart = i;
        while (i < n && !isBlank(attributes.at(i)) && attributes.at(i) != QLatin1Char('=') &&
               attributes.at(i) != QLatin1Char('/')) {
            ++i;
        }
        const QStringView found = attributes.sliced(nameStart, i - nameStart);
        while (i < n && isBlank(attributes.at(i))) {
            ++i;
        }
        QStringView value;
        if (i < n && attributes.at(i) == QLatin1Char('=')) {
            ++i;
            while (i < n && isBlank(attributes.at(i))) {
                ++i;
            }
            if (i < n &&
                (attributes.at(i) == QLatin1Char('"') || attributes.at(i) == QLatin1Char('\''))) {
                const qsizetype end = attributes.indexOf(attributes.at(i), i + 1);
                const qsizetype stop = end < 0 ? n : end;
                value = attributes.sliced(i + 1, stop - i - 1);
                i = stop + 1;
            } else {
                const qsizetype start = i;
                while (i < n && !isBlank(attributes.at(i))) {
                    ++i;
                }
                value = attributes.sliced(start, i - start);
            }
        }
        if (!found.isEmpty() && found.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
        if (found.isEmpty() && i == nameStart) {
            ++i; // a stray "=": step over it
        }
    }
    return std::nullopt;
}

} // namespace velmora
