// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the INI reader and writer on arbitrary text. The input is "section NUL key NUL value NUL
// text"; missing parts are empty. No input may crash or hang them, and a value that an INI line
// can hold must read back whole after it is written, with no section header made or lost.

#include "core/storage/code_page.h"
#include "core/storage/ini_text.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

using velmora::IniText;

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray trimmedName(QByteArrayView s) {
    return IniText::trimmed(s).toByteArray();
}

bool holdsLineEnd(QByteArrayView s) {
    return s.contains('\r') || s.contains('\n');
}

// What the store lets through: names and values that one INI line holds and gives back whole.
bool storable(QByteArrayView section, QByteArrayView key, QByteArrayView value) {
    if (holdsLineEnd(section) || holdsLineEnd(key) || holdsLineEnd(value) || key.contains('=') ||
        trimmedName(key).startsWith('[') || value.size() > IniText::kMaxValueBytes) {
        return false;
    }
    const auto edge = [](char c) { return isBlank(c) || c == '"' || c == '\''; };
    return value.isEmpty() || (!edge(value.front()) && !edge(value.back()));
}

bool sameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (velmora::CodePage::fold(static_cast<unsigned char>(a[i])) !=
            velmora::CodePage::fold(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

qsizetype sectionsNamed(const QList<QByteArray>& names, QByteArrayView name) {
    qsizetype n = 0;
    for (const QByteArray& s : names) {
        n += sameName(s, name) ? 1 : 0;
    }
    return n;
}

// Splits off the part up to the next NUL.
QByteArrayView takePart(QByteArrayView& rest) {
    const qsizetype nul = rest.indexOf('\0');
    if (nul < 0) {
        const QByteArrayView part = rest;
        rest = {};
        return part;
    }
    const QByteArrayView part = rest.first(nul);
    rest = rest.sliced(nul + 1);
    return part;
}

void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArrayView rest(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArrayView section = takePart(rest);
    const QByteArrayView key = takePart(rest);
    const QByteArrayView value = takePart(rest);
    const QByteArray original = rest.toByteArray();

    const auto found = IniText::value(original, section, key);
    check(!found || found->size() <= IniText::kMaxValueBytes);
    const QList<QByteArray> sectionsBefore = IniText::sectionNames(original);
    IniText::keyNames(original, section);

    if (!storable(section, key, value)) {
        return 0;
    }
    QByteArray text = original;
    check(IniText::setValue(text, section, key, value) == (text != original));
    check(IniText::value(text, section, key) == value.toByteArray());
    // Only a missing section adds a header; nothing else makes or loses one.
    QList<QByteArray> expected = sectionsBefore;
    if (sectionsNamed(sectionsBefore, trimmedName(section)) == 0) {
        expected.append(trimmedName(section));
    }
    check(IniText::sectionNames(text) == expected);

    const qsizetype named = sectionsNamed(IniText::sectionNames(text), trimmedName(section));
    check(IniText::eraseSection(text, section));
    check(sectionsNamed(IniText::sectionNames(text), trimmedName(section)) == named - 1);
    return 0;
}
