// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/html_text.h"

#include <QHash>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <optional>

namespace velmora {
namespace {

// The named entities question banks use beyond XML's own; others stay as written.
const QHash<QString, char16_t>& namedEntities() {
    static const QHash<QString, char16_t> table = {
        {QStringLiteral("amp"), u'&'},         {QStringLiteral("lt"), u'<'},
        {QStringLiteral("gt"), u'>'},          {QStringLiteral("quot"), u'"'},
        {QStringLiteral("apos"), u'\''},       {QStringLiteral("nbsp"), u'\u00A0'},
        {QStringLiteral("ndash"), u'\u2013'},  {QStringLiteral("mdash"), u'\u2014'},
        {QStringLiteral("laquo"), u'\u00AB'},  {QStringLiteral("raquo"), u'\u00BB'},
        {QStringLiteral("lsquo"), u'\u2018'},  {QStringLiteral("rsquo"), u'\u2019'},
        {QStringLiteral("ldquo"), u'\u201C'},  {QStringLiteral("rdquo"), u'\u201D'},
        {QStringLiteral("bdquo"), u'\u201E'},  {QStringLiteral("hellip"), u'\u2026'},
        {QStringLiteral("bull"), u'\u2022'},   {QStringLiteral("middot"), u'\u00B7'},
        {QStringLiteral("copy"), u'\u00A9'},   {QStringLiteral("reg"), u'\u00AE'},
        {QStringLiteral("deg"), u'\u00B0'},    {QStringLiteral("plusmn"), u'\u00B1'},
        {QStringLiteral("times"), u'\u00D7'},  {QStringLiteral("divide"), u'\u00F7'},
        {QStringLiteral("minus"), u'\u2212'},  {QStringLiteral("le"), u'\u2264'},
        {QStringLiteral("ge"), u'\u2265'},     {QStringLiteral("ne"), u'\u2260'},
        {QStringLiteral("sect"), u'\u00A7'},   {QStringLiteral("para"), u'\u00B6'},
        {QStringLiteral("micro"), u'\u00B5'},  {QStringLiteral("euro"), u'\u20AC'},
        {QStringLiteral("numero"), u'\u2116'}, {QStringLiteral("shy"), u'\u00AD'},
    };
    return table;
}

bool isBlockTag(QStringView name) {
    static const QStringList blocks = {
        QStringLiteral("br"),         QStringLiteral("p"),  QStringLiteral("div"),
        QStringLiteral("li"),         QStringLiteral("ul"), QStringLiteral("ol"),
        QStringLiteral("tr"),         QStringLiteral("td"), QStringLiteral("th"),
        QStringLiteral("table"),      QStringLiteral("h1"), QStringLiteral("h2"),
        QStringLiteral("h3"),         QStringLiteral("h4"), QStringLiteral("h5"),
        QStringLiteral("h6"),         QStringLiteral("hr"), QStringLiteral("pre"),
        QStringLiteral("blockquote"), QStringLiteral("dd"), QStringLiteral("dt")};
    return blocks.contains(name.toString(), Qt::CaseInsensitive);
}

bool isFileTag(QStringView name) {
    static const QStringList files = {QStringLiteral("img"),   QStringLiteral("object"),
                                      QStringLiteral("embed"), QStringLiteral("video"),
                                      QStringLiteral("audio"), QStringLiteral("iframe"),
                                      QStringLiteral("source")};
    return files.contains(name.toString(), Qt::CaseInsensitive);
}

// The value of the attribute `name` in a tag's text after its name, quoted or not; empty when
// the tag has none.
QString attribute(QStringView tag, QStringView name) {
    qsizetype at = 0;
    while ((at = tag.indexOf(name, at, Qt::CaseInsensitive)) >= 0) {
        const bool wordStart = at == 0 || tag[at - 1].isSpace();
        qsizetype i = at + name.size();
        at = i;
        while (i < tag.size() && tag[i].isSpace()) {
            ++i;
        }
        if (!wordStart || i >= tag.size() || tag[i] != u'=') {
            continue;
        }
        ++i;
        while (i < tag.size() && tag[i].isSpace()) {
            ++i;
        }
        if (i < tag.size() && (tag[i] == u'"' || tag[i] == u'\'')) {
            const qsizetype end = tag.indexOf(tag[i], i + 1);
            return tag.sliced(i + 1, (end < 0 ? tag.size() : end) - i - 1).toString();
        }
        qsizetype end = i;
        while (end < tag.size() && !tag[end].isSpace() && tag[end] != u'/') {
            ++end;
        }
        return tag.sliced(i, end - i).toString();
    }
    return {};
}

// How a dropped file is named: a file of the bank by its own name, anything else by its address;
// the data itself ("data:...") by an empty name.
QString fileName(const QString& address) {
    static const QString bankFiles = QStringLiteral("@@PLUGINFILE@@");
    QString trimmed = address.trimmed();
    if (trimmed.startsWith(QStringLiteral("data:"), Qt::CaseInsensitive)) {
        return {};
    }
    if (!trimmed.contains(bankFiles)) {
        return trimmed;
    }
    // "@@PLUGINFILE@@/folder/name.png?time=1": the name, without the query or fragment.
    const QString path = trimmed.sliced(trimmed.indexOf(bankFiles) + bankFiles.size())
                             .section(u'?', 0, 0)
                             .section(u'#', 0, 0);
    return QUrl::fromPercentEncoding(path.sliced(path.lastIndexOf(u'/') + 1).toUtf8());
}

// The file a tag shows or links to, if it is one the text cannot keep.
std::optional<QString> droppedFile(QStringView name, QStringView tag) {
    if (isFileTag(name)) {
        QString address = attribute(tag, u"src");
        if (address.isEmpty()) {
            address = attribute(tag, u"data");
        }
        // A tag without an address shows nothing of its own ("<video>" around its "<source>").
        return address.trimmed().isEmpty() ? std::nullopt : std::optional(fileName(address));
    }
    if (name.compare(u"a", Qt::CaseInsensitive) == 0) {
        const QString address = attribute(tag, u"href");
        if (address.contains(QStringLiteral("@@PLUGINFILE@@"))) {
            return fileName(address);
        }
    }
    return std::nullopt;
}

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The character of a numeric reference ("#65", "#x41"); the replacement character for a code
// point no text can hold.
QString numericCharacter(QStringView digits) {
    bool ok = false;
    const bool hex = digits.startsWith(u'x') || digits.startsWith(u'X');
    const uint point = hex ? digits.sliced(1).toUInt(&ok, 16) : digits.toUInt(&ok, 10);
    if (!ok || point == 0 || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        return QString(QChar(QChar::ReplacementCharacter));
    }
    const char32_t code = point;
    return QString::fromUcs4(&code, 1);
}

// Reads the entity at `at` ("&...;") into `out`; returns the index after it, or `at` when none.
qsizetype takeEntity(QStringView html, qsizetype at, QString& out) {
    constexpr qsizetype kLongestName = 10;
    const qsizetype end =
        html.first(std::min(html.size(), at + kLongestName + 2)).indexOf(u';', at + 1);
    if (end <= at + 1) {
        return at;
    }
    const QStringView name = html.sliced(at + 1, end - at - 1);
    if (name.startsWith(u'#') && name.size() > 1) {
        out += numericCharacter(name.sliced(1));
        return end + 1;
    }
    const auto found = namedEntities().constFind(name.toString());
    if (found == namedEntities().cend()) {
        return at;
    }
    out += QChar(*found);
    return end + 1;
}

// Skips the tag or comment opening at `at` (a "<"); returns the index after it, or `at` when the
// "<" opens none.
// `lastClose` is the index of the text's last ">": a "<" after it opens no tag, so that a text
// full of "<" is read in one pass.
qsizetype skipTag(QStringView html, qsizetype at, qsizetype lastClose, QString& out,
                  QStringList& files) {
    if (html.sliced(at).startsWith(u"<!--")) {
        const qsizetype end = html.indexOf(u"-->", at + 4);
        return end < 0 ? html.size() : end + 3;
    }
    qsizetype nameStart = at + 1;
    const bool closing = nameStart < html.size() && html[nameStart] == u'/';
    nameStart += closing ? 1 : 0;
    const bool other =
        nameStart < html.size() && (html[nameStart] == u'!' || html[nameStart] == u'?');
    if (nameStart >= html.size() || (!isAsciiLetter(html[nameStart]) && !other)) {
        return at;
    }
    if (nameStart > lastClose) {
        return at;
    }
    const qsizetype end = html.indexOf(u'>', nameStart);
    qsizetype nameEnd = nameStart;
    while (nameEnd < end && (isAsciiLetter(html[nameEnd]) || html[nameEnd].isDigit())) {
        ++nameEnd;
    }
    const QStringView name = html.sliced(nameStart, nameEnd - nameStart);
    if (isBlockTag(name)) {
        out += u' ';
    }
    if (const auto file =
            closing ? std::nullopt : droppedFile(name, html.sliced(nameEnd, end - nameEnd));
        file && !files.contains(*file)) {
        files.append(*file);
    }
    const bool rawContent = name.compare(u"script", Qt::CaseInsensitive) == 0 ||
                            name.compare(u"style", Qt::CaseInsensitive) == 0;
    if (!closing && rawContent) {
        const qsizetype close =
            html.indexOf(QStringLiteral("</") + name.toString(), end, Qt::CaseInsensitive);
        const qsizetype closeEnd = close < 0 ? -1 : html.indexOf(u'>', close);
        return closeEnd < 0 ? html.size() : closeEnd + 1;
    }
    return end + 1;
}

} // namespace

QString HtmlText::plain(QStringView html, QStringList* files) {
    QString out;
    out.reserve(html.size());
    QStringList dropped;
    const qsizetype lastClose = html.lastIndexOf(u'>');
    qsizetype i = 0;
    while (i < html.size()) {
        const QChar c = html[i];
        qsizetype next = i;
        if (c == u'<') {
            next = skipTag(html, i, lastClose, out, dropped);
        } else if (c == u'&') {
            next = takeEntity(html, i, out);
        }
        if (next == i) {
            out += c;
            ++i;
        } else {
            i = next;
        }
    }
    if (files != nullptr) {
        for (const QString& file : dropped) {
            if (!files->contains(file)) {
                files->append(file);
            }
        }
    }
    return out.simplified();
}

QString HtmlText::escaped(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace velmora
