// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/code_page.h"

#include "core/storage/failure.h"

#include <algorithm>
#include <array>

namespace velmora {
namespace {

// Bytes 0x80..0xFF of RK1048. 0x98 is unassigned; it maps to U+0098 so that every byte
// round-trips.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x049A, 0x04BA, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x049B, 0x04BB, 0x045F, 0x00A0, 0x04B0, 0x04B1, 0x04D8,
    0x00A4, 0x04E8, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0492, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x04AE,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x04E9, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0493, 0x00BB,
    0x04D9, 0x04A2, 0x04A3, 0x04AF, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

using Reverse = std::array<std::pair<char16_t, unsigned char>, 128>;

// Unicode -> byte for the high half, sorted by code point for binary search.
const Reverse& reverseTable() {
    static const Reverse table = [] {
        Reverse r{};
        for (int i = 0; i < 128; ++i) {
            r[i] = {kHighHalf[i], static_cast<unsigned char>(0x80 + i)};
        }
        std::sort(r.begin(), r.end());
        return r;
    }();
    return table;
}

int byteOf(char16_t c) {
    if (c < 0x80) {
        return c;
    }
    const Reverse& rev = reverseTable();
    const auto* const it =
        std::lower_bound(rev.begin(), rev.end(), std::pair<char16_t, unsigned char>{c, 0});
    if (it != rev.end() && it->first == c) {
        return it->second;
    }
    return -1;
}

} // namespace

char16_t CodePage::toUnicode(unsigned char byte) {
    return byte < 0x80 ? char16_t(byte) : kHighHalf[byte - 0x80];
}

qsizetype CodePage::firstUnencodable(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (byteOf(text[i].unicode()) < 0) {
            return i;
        }
    }
    return -1;
}

bool CodePage::canEncode(QStringView text) {
    return firstUnencodable(text) < 0;
}

QByteArray CodePage::encode(QStringView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = byteOf(text[i].unicode());
        if (b < 0) {
            throw Failure(unencodableMessage(text, i));
        }
        out[i] = static_cast<char>(b);
    }
    return out;
}

QString CodePage::decode(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        d[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
    }
    return out;
}

const unsigned char* CodePage::foldTable() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> fold{};
        for (int b = 0; b < 256; ++b) {
            const char16_t lower =
                QChar(toUnicode(static_cast<unsigned char>(b))).toLower().unicode();
            const int folded = byteOf(lower);
            fold[b] = static_cast<unsigned char>(folded >= 0 ? folded : b);
        }
        return fold;
    }();
    return table.data();
}

QString characterWithCode(QStringView text, qsizetype at) {
    // A character beyond the Basic Multilingual Plane is named whole, not by half of its pair.
    const bool pair =
        text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
    const char32_t point =
        pair ? QChar::surrogateToUcs4(text[at], text[at + 1]) : text[at].unicode();
    const QString character = pair ? text.sliced(at, 2).toString() : QString(text[at]);
    const QString code = QString::number(point, 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QStringLiteral("«%1» (U+%2)").arg(character, code);
}

QString unencodableMessage(QStringView text, qsizetype at) {
    return QStringLiteral("Символ %1 нельзя сохранить в файлах курса")
        .arg(characterWithCode(text, at));
}

QByteArray CodePage::folded(QByteArrayView bytes) {
    QByteArray key(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        key[i] = static_cast<char>(fold(static_cast<unsigned char>(bytes[i])));
    }
    return key;
}

} // namespace velmora
