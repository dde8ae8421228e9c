// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search/document_text.h"

#include "core/search/html_entities.h"
#include "core/search/html_reader.h"
#include "core/storage/code_page.h"

#include <QStringDecoder>
#include <array>

namespace velmora {
namespace {

using Kind = HtmlReader::Kind;

bool named(QStringView name, QStringView expected) {
    return name.compare(expected, Qt::CaseInsensitive) == 0;
}

// Elements that end a word: "a<p>b" is two words, "a<b>b</b>" one.
bool endsWords(QStringView name) {
    static constexpr std::array<QStringView, 27> blocks = {
        u"p",          u"br",      u"div",     u"li",     u"td",     u"th",    u"tr",
        u"h1",         u"h2",      u"h3",      u"h4",     u"h5",     u"h6",    u"ul",
        u"ol",         u"dl",      u"dt",      u"dd",     u"hr",     u"table", u"pre",
        u"blockquote", u"section", u"article", u"header", u"footer", u"body"};
    for (const QStringView block : blocks) {
        if (named(name, block)) {
            return true;
        }
    }
    return false;
}

// The charset a <meta> tag declares, if it does.
QStringView metaCharset(QStringView attributes) {
    if (const std::optional<QStringView> charset = HtmlReader::attribute(attributes, u"charset")) {
        return charset->trimmed();
    }
    const std::optional<QStringView> equiv = HtmlReader::attribute(attributes, u"http-equiv");
    const std::optional<QStringView> content = HtmlReader::attribute(attributes, u"content");
    if (!equiv || !content || !named(equiv->trimmed(), u"content-type")) {
        return {};
    }
    const qsizetype at = content->indexOf(u"charset=", 0, Qt::CaseInsensitive);
    if (at < 0) {
        return {};
    }
    QStringView value = content->sliced(at + 8).trimmed();
    qsizetype end = 0;
    while (end < value.size() && value.at(end) != u';' && !value.at(end).isSpace()) {
        ++end;
    }
    return value.first(end);
}

// The charset named by the first <meta> that names one before the body; the bytes are read as
// Latin-1, enough for the ASCII of the markup.
QString declaredCharset(const QByteArray& html) {
    const QString latin1 = QString::fromLatin1(html);
    HtmlReader reader(latin1);
    for (HtmlReader::Token t = reader.next(); t.kind != Kind::End; t = reader.next()) {
        if (t.kind != Kind::StartTag) {
            continue;
        }
        if (named(t.name, u"body")) {
            break;
        }
        if (named(t.name, u"meta")) {
            const QStringView charset = metaCharset(t.attributes);
            if (!charset.isEmpty()) {
                return charset.toString().toLower();
            }
        }
    }
    return {};
}

// Whole documents: bytes cut off in the middle of a character are an error, not a wait for more.
constexpr QStringConverter::Flags stateless = QStringConverter::Flag::Stateless;

std::optional<QString> decodeWith(QStringDecoder decoder, QByteArrayView bytes) {
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

// The program's own code page under the names it goes by; Qt's decoders do not know it.
bool namesCodePage(const QString& charset) {
    return charset == u"rk1048" || charset == u"kz-1048" || charset == u"strk1048-2002";
}

std::optional<QString> decodeHtml(const QByteArray& html) {
    if (html.startsWith("\xEF\xBB\xBF")) {
        // A byte order mark says UTF-8 whatever a <meta> says, when the bytes agree.
        if (std::optional<QString> text =
                decodeWith(QStringDecoder(QStringConverter::Utf8, stateless),
                           QByteArrayView(html).sliced(3))) {
            return text;
        }
    }
    if (html.startsWith("\xFF\xFE") || html.startsWith("\xFE\xFF")) {
        // The decoder reads the byte order mark and drops it.
        return decodeWith(QStringDecoder(QStringConverter::Utf16, stateless), html);
    }
    if (html.contains('\0')) {
        return std::nullopt;
    }
    const QString charset = declaredCharset(html);
    if (namesCodePage(charset)) {
        return CodePage::decode(html);
    }
    // A page declares UTF-16 only in ASCII, so it is not UTF-16: browsers read it as UTF-8.
    if (!charset.isEmpty() && !charset.startsWith(u"utf-16")) {
        QStringDecoder declared(charset.toLatin1().constData(), stateless);
        if (declared.isValid()) {
            if (std::optional<QString> text = decodeWith(std::move(declared), html)) {
                return text;
            }
        }
    }
    if (std::optional<QString> text =
            decodeWith(QStringDecoder(QStringConverter::Utf8, stateless), html)) {
        return text;
    }
    return CodePage::decode(html);
}

// Gathers text with every run of blanks, control characters and word-ending tags turned into one
// separator; soft hyphens go, so a word split by one stays whole.
class PlainText {
public:
    explicit PlainText(qsizetype capacity) { text_.reserve(capacity); }

    void append(QStringView raw) {
        decoded_.clear();
        appendDecodedEntities(decoded_, raw);
        for (const QChar c : std::as_const(decoded_)) {
            if (c == u'\u00AD') {
                continue;
            }
            if (c.isSpace() || c.category() == QChar::Other_Control) {
                separate(u' ');
                continue;
            }
            if (!pending_.isNull() && !text_.isEmpty()) {
                text_.append(pending_);
            }
            pending_ = QChar();
            text_.append(c);
        }
    }

    void endLine() { separate(u'\n'); }

    QString take() { return std::move(text_); }

private:
    void separate(QChar separator) {
        if (pending_ != u'\n') {
            pending_ = separator;
        }
    }

    QString text_;
    QString decoded_;
    QChar pending_;
};

} // namespace

std::optional<DocumentText> readDocumentText(const QByteArray& html) {
    const std::optional<QString> decoded = decodeHtml(html);
    if (!decoded) {
        return std::nullopt;
    }
    PlainText body(decoded->size());
    PlainText title(0);
    bool titleSeen = false;
    HtmlReader reader(*decoded);
    for (HtmlReader::Token t = reader.next(); t.kind != Kind::End; t = reader.next()) {
        if (t.kind != Kind::Text) {
            if (endsWords(t.name)) {
                body.endLine();
            }
        } else if (t.element.isEmpty() || named(t.element, u"textarea")) {
            body.append(t.text);
        } else if (named(t.element, u"title") && !titleSeen) {
            title.append(t.text);
            titleSeen = true;
        }
        // script and style hold no readable text
    }
    return DocumentText{title.take(), body.take()};
}

} // namespace velmora
