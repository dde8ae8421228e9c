// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/ini_text.h"

#include "core/storage/code_page.h"

#include <QList>
#include <cstring>

namespace velmora {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView s) {
    return IniText::trimmed(s);
}

bool sameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && CodePage::fold(static_cast<unsigned char>(a[i])) !=
                                CodePage::fold(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// One line of the text: [begin, contentEnd) is its content, [contentEnd, next) its line end.
struct Line {
    qsizetype begin = 0;
    qsizetype contentEnd = 0;
    qsizetype next = 0;
};

Line lineAt(QByteArrayView text, qsizetype begin) {
    // One pass to the first CR or LF: a search for LF alone would run to the end of a file whose
    // lines end in a lone CR, at every line.
    const char* data = text.data();
    const qsizetype size = text.size();
    qsizetype at = begin;
    while (at < size && data[at] != '\n' && data[at] != '\r') {
        ++at;
    }
    if (at == size) {
        return {begin, size, size};
    }
    const bool crlf = data[at] == '\r' && at + 1 < size && data[at + 1] == '\n';
    return {begin, at, crlf ? at + 2 : at + 1};
}

// The header name of a line, when the line is a section header.
std::optional<QByteArrayView> headerName(QByteArrayView line) {
    const QByteArrayView t = trimmed(line);
    if (t.isEmpty() || t[0] != '[') {
        return std::nullopt;
    }
    const qsizetype close = t.lastIndexOf(']');
    if (close < 0) {
        return std::nullopt;
    }
    return trimmed(t.sliced(1, close - 1));
}

QByteArrayView content(QByteArrayView text, const Line& l) {
    return text.sliced(l.begin, l.contentEnd - l.begin);
}

// Finds the first section whose name matches: the header's line and where the section's lines
// end (the start of the next header, or the end of the text). Headers are found by jumping from
// one "[" to the next, which keeps look-ups in large registers fast.
struct Section {
    Line header;
    qsizetype end = 0;
};

bool atLineStart(QByteArrayView text, qsizetype pos, qsizetype* lineBegin) {
    qsizetype p = pos;
    while (p > 0 && isBlank(text[p - 1])) {
        --p;
    }
    if (p == 0 || text[p - 1] == '\n' || text[p - 1] == '\r') {
        *lineBegin = p;
        return true;
    }
    return false;
}

// The next header line at or after `from`, or nothing.
std::optional<std::pair<Line, QByteArrayView>> nextHeader(QByteArrayView text, qsizetype from) {
    const char* data = text.data();
    qsizetype pos = from;
    while (pos < text.size()) {
        const auto* hit = static_cast<const char*>(std::memchr(data + pos, '[', text.size() - pos));
        if (!hit) {
            return std::nullopt;
        }
        const qsizetype at = hit - data;
        qsizetype begin = 0;
        if (atLineStart(text, at, &begin) && begin >= from) {
            const Line l = lineAt(text, begin);
            if (const auto name = headerName(content(text, l))) {
                return std::make_pair(l, *name);
            }
        }
        pos = at + 1;
    }
    return std::nullopt;
}

std::optional<Section> findSection(QByteArrayView text, QByteArrayView section) {
    const QByteArrayView wanted = trimmed(section);
    qsizetype from = 0;
    while (auto h = nextHeader(text, from)) {
        if (sameName(h->second, wanted)) {
            const auto following = nextHeader(text, h->first.next);
            return Section{h->first, following ? following->first.begin : text.size()};
        }
        from = h->first.next;
    }
    return std::nullopt;
}

// The key name of a line, when it holds a key.
std::optional<QByteArrayView> keyOf(QByteArrayView line, qsizetype* equals) {
    const qsizetype eq = line.indexOf('=');
    if (eq < 0) {
        return std::nullopt;
    }
    *equals = eq;
    return trimmed(line.first(eq));
}

struct KeyLine {
    Line line;
    qsizetype equals = 0; // offset of "=" within the line
};

std::optional<KeyLine> findKey(QByteArrayView text, const Section& s, QByteArrayView key) {
    const QByteArrayView wanted = trimmed(key);
    for (qsizetype pos = s.header.next; pos < s.end;) {
        const Line l = lineAt(text, pos);
        qsizetype eq = 0;
        const auto name = keyOf(content(text, l), &eq);
        if (name && sameName(*name, wanted)) {
            return KeyLine{l, eq};
        }
        pos = l.next;
    }
    return std::nullopt;
}

QByteArray unquoted(QByteArrayView v) {
    v = trimmed(v);
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) {
        v = v.sliced(1, v.size() - 2);
    }
    return v.first(std::min(v.size(), IniText::kMaxValueBytes)).toByteArray();
}

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

bool endsWithLineEnd(QByteArrayView text) {
    return text.isEmpty() || text.back() == '\n' || text.back() == '\r';
}

} // namespace

QByteArrayView IniText::trimmed(QByteArrayView text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isBlank(text[b])) {
        ++b;
    }
    while (e > b && isBlank(text[e - 1])) {
        --e;
    }
    return text.sliced(b, e - b);
}

std::optional<QByteArray> IniText::value(QByteArrayView text, QByteArrayView section,
                                         QByteArrayView key) {
    return values(text, section, {key.toByteArray()}).front();
}

QList<std::optional<QByteArray>> IniText::values(QByteArrayView text, QByteArrayView section,
                                                 const QList<QByteArray>& keys) {
    QList<std::optional<QByteArray>> found(keys.size());
    const auto s = findSection(text, section);
    if (!s) {
        return found;
    }
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (const auto k = findKey(text, *s, keys[i])) {
            found[i] = unquoted(content(text, k->line).sliced(k->equals + 1));
        }
    }
    return found;
}

bool IniText::setValue(QByteArray& text, QByteArrayView section, QByteArrayView key,
                       QByteArrayView value) {
    const QByteArrayView sectionName = trimmed(section);
    const QByteArrayView keyName = trimmed(key);
    const auto s = findSection(text, sectionName);
    if (!s) {
        text += newSection(text, sectionName, {{keyName.toByteArray(), value.toByteArray()}});
        return true;
    }
    if (const auto k = findKey(text, *s, keyName)) {
        const qsizetype from = k->line.begin + k->equals + 1;
        if (QByteArrayView(text).sliced(from, k->line.contentEnd - from) == value) {
            return false;
        }
        text.replace(from, k->line.contentEnd - from, value.toByteArray());
        return true;
    }
    // Append after the section's last line that is not blank.
    qsizetype insertAt = s->header.next;
    bool lastHasLineEnd = s->header.next > s->header.contentEnd;
    for (qsizetype pos = s->header.next; pos < s->end;) {
        const Line l = lineAt(text, pos);
        if (!trimmed(content(text, l)).isEmpty()) {
            insertAt = l.next;
            lastHasLineEnd = l.next > l.contentEnd;
        }
        pos = l.next;
    }
    QByteArray added;
    if (!lastHasLineEnd) {
        added += kLineEnd;
    }
    added += keyName.toByteArray() + '=' + value.toByteArray() + kLineEnd;
    text.insert(insertAt, added);
    return true;
}

QByteArray IniText::newSection(QByteArrayView text, QByteArrayView section,
                               const QList<std::pair<QByteArray, QByteArray>>& values) {
    QByteArray added;
    if (!endsWithLineEnd(text)) {
        added += kLineEnd;
    }
    added += '[' + trimmed(section).toByteArray() + ']' + kLineEnd;
    for (const auto& [key, value] : values) {
        added += trimmed(key).toByteArray() + '=' + value + kLineEnd;
    }
    return added;
}

bool IniText::hasSection(QByteArrayView text, QByteArrayView section) {
    return findSection(text, section).has_value();
}

bool IniText::eraseSection(QByteArray& text, QByteArrayView section) {
    const auto s = findSection(text, section);
    if (!s) {
        return false;
    }
    text.remove(s->header.begin, s->end - s->header.begin);
    return true;
}

QList<QByteArray> IniText::sectionNames(QByteArrayView text) {
    QList<QByteArray> names;
    qsizetype from = 0;
    while (auto h = nextHeader(text, from)) {
        names.append(h->second.toByteArray());
        from = h->first.next;
    }
    return names;
}

QList<IniText::SectionSpan> IniText::sectionSpans(QByteArrayView text) {
    QList<SectionSpan> spans;
    auto h = nextHeader(text, 0);
    while (h) {
        const auto following = nextHeader(text, h->first.next);
        const qsizetype end = following ? following->first.begin : text.size();
        spans.append({h->second, text.sliced(h->first.begin, end - h->first.begin)});
        h = following;
    }
    return spans;
}

bool IniText::namesMatch(QByteArrayView a, QByteArrayView b) {
    return sameName(trimmed(a), trimmed(b));
}

QList<QByteArray> IniText::keyNames(QByteArrayView text, QByteArrayView section) {
    QList<QByteArray> names;
    const auto s = findSection(text, section);
    if (!s) {
        return names;
    }
    for (qsizetype pos = s->header.next; pos < s->end;) {
        const Line l = lineAt(text, pos);
        qsizetype eq = 0;
        // A ";" line is a comment to a listing, as the platform lists keys.
        if (const auto name = keyOf(content(text, l), &eq); name && !name->startsWith(';')) {
            names.append(name->toByteArray());
        }
        pos = l.next;
    }
    return names;
}

} // namespace velmora
