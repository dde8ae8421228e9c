// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/ini_batch.h"

#include "core/storage/code_page.h"
#include "core/storage/ini_text.h"

#include <QSet>

namespace velmora {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView s) {
    while (!s.isEmpty() && isBlank(s.front())) {
        s = s.sliced(1);
    }
    while (!s.isEmpty() && isBlank(s.back())) {
        s.chop(1);
    }
    return s;
}

// Names match without regard to letter case, as IniText matches them.
QByteArray folded(QByteArrayView name) {
    QByteArray out = trimmed(name).toByteArray();
    for (char& c : out) {
        c = static_cast<char>(CodePage::fold(static_cast<unsigned char>(c)));
    }
    return out;
}

// The header name of one line's content, when the line is a section header.
std::optional<QByteArrayView> headerName(QByteArrayView line) {
    const QByteArrayView t = trimmed(line);
    if (t.isEmpty() || t.front() != '[') {
        return std::nullopt;
    }
    const qsizetype close = t.lastIndexOf(']');
    if (close < 0) {
        return std::nullopt;
    }
    return trimmed(t.sliced(1, close - 1));
}

// The text cut into pieces that each begin at a section header (the first may be the lines
// before any header), with the header's name.
struct Piece {
    QByteArrayView text;
    std::optional<QByteArrayView> name;
};

QList<Piece> piecesOf(QByteArrayView text) {
    QList<Piece> pieces;
    qsizetype pieceBegin = 0;
    std::optional<QByteArrayView> pieceName;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') {
            ++end;
        }
        if (const auto name = headerName(text.sliced(pos, end - pos))) {
            if (pos > pieceBegin) {
                pieces.append({text.sliced(pieceBegin, pos - pieceBegin), pieceName});
            }
            pieceBegin = pos;
            pieceName = name;
        }
        const bool crlf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
        pos = end + (crlf ? 2 : 1);
    }
    if (pieceBegin < text.size()) {
        pieces.append({text.sliced(pieceBegin), pieceName});
    }
    return pieces;
}

bool endsWithLineEnd(QByteArrayView text) {
    return text.isEmpty() || text.back() == '\n' || text.back() == '\r';
}

} // namespace

void IniBatch::setValue(QByteArrayView section, QByteArrayView key, const QByteArray& value) {
    const QByteArray sectionKey = folded(section);
    auto found = index_.constFind(sectionKey);
    if (found == index_.cend()) {
        found = index_.insert(sectionKey, sections_.size());
        sections_.append({trimmed(section).toByteArray(), {}});
    }
    QList<Key>& keys = sections_[*found].keys;
    const QByteArray keyName = folded(key);
    for (Key& k : keys) {
        if (k.folded == keyName) {
            k.value = value;
            return;
        }
    }
    keys.append({keyName, trimmed(key).toByteArray(), value});
}

void IniBatch::writeSection(QByteArray& text, const Section& section) const {
    for (const Key& key : section.keys) {
        IniText::setValue(text, section.name, key.name, key.value);
    }
}

void IniBatch::applyTo(QByteArray& text) const {
    QByteArray result;
    result.reserve(text.size() + text.size() / 2 + 64 * sections_.size());
    QList<bool> present(sections_.size(), false);
    QSet<QByteArray> seen; // only the first section of a name is written, as IniText does
    for (const Piece& piece : piecesOf(text)) {
        const QByteArray name = piece.name ? folded(*piece.name) : QByteArray();
        const auto found =
            piece.name && !seen.contains(name) ? index_.constFind(name) : index_.cend();
        if (piece.name) {
            seen.insert(name);
        }
        if (found == index_.cend()) {
            result += piece.text;
            continue;
        }
        QByteArray edited = piece.text.toByteArray();
        writeSection(edited, sections_[*found]);
        result += edited;
        present[*found] = true;
    }
    for (qsizetype i = 0; i < sections_.size(); ++i) {
        if (present[i]) {
            continue;
        }
        if (!endsWithLineEnd(result)) {
            result += "\r\n";
        }
        QByteArray added;
        writeSection(added, sections_[i]);
        result += added;
    }
    text = std::move(result);
}

} // namespace velmora
