// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search/search_snippet.h"

namespace velmora {
namespace {

constexpr int wordsBefore = 8;
constexpr int wordsAfter = 16;

// The start of the window: the start of the `words`-th word before the one at `from`.
qsizetype windowStart(const QString& text, qsizetype from, int words) {
    qsizetype at = from;
    while (at > 0) {
        const bool wordStart = text.at(at - 1).isSpace() && !text.at(at).isSpace();
        if (wordStart && words-- == 0) {
            break;
        }
        --at;
    }
    return at;
}

// The end of the window: after `words` words from `from`, never inside a match.
qsizetype windowEnd(const QString& text, qsizetype from, int words) {
    bool inMatch = false;
    for (qsizetype at = from; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c == matchStart || c == matchEnd) {
            inMatch = c == matchStart;
        } else if (!inMatch && c.isSpace() && !text.at(at - 1).isSpace() && --words == 0) {
            return at;
        }
    }
    return text.size();
}

} // namespace

QString snippetAroundFirstMatch(const QString& marked) {
    const qsizetype first = marked.indexOf(matchStart);
    if (first < 0) {
        return {};
    }
    const qsizetype begin = windowStart(marked, first, wordsBefore);
    const qsizetype end = windowEnd(marked, first, wordsAfter);
    QString html = marked.sliced(begin, end - begin).simplified().toHtmlEscaped();
    html.replace(matchStart, QStringLiteral("<b>"));
    html.replace(matchEnd, QStringLiteral("</b>"));
    const QString cut = QStringLiteral("…");
    return (begin > 0 ? cut : QString()) + html + (end < marked.size() ? cut : QString());
}

QString firstMatchedWord(const QString& marked) {
    const qsizetype start = marked.indexOf(matchStart);
    if (start < 0) {
        return {};
    }
    qsizetype end = start + 1;
    while (end < marked.size() && marked.at(end) != matchEnd && !marked.at(end).isSpace()) {
        ++end;
    }
    return marked.sliced(start + 1, end - start - 1);
}

} // namespace velmora
