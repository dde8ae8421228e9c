// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search/html_entities.h"

#include <array>
#include <optional>

namespace velmora {
namespace {

struct NamedEntity {
    QStringView name;
    char16_t character;
};

// The named references of typical lecture pages: markup characters, spaces, quotes, dashes and
// the common signs. The full HTML list has over 2,000 names, nearly all unused here.
constexpr std::array<NamedEntity, 30> namedEntities = {{
    {u"amp", u'&'},    {u"lt", u'<'},        {u"gt", u'>'},       {u"quot", u'"'},
    {u"apos", u'\''},  {u"nbsp", u'\u00A0'}, {u"shy", u'\u00AD'}, {u"laquo", u'«'},
    {u"raquo", u'»'},  {u"ldquo", u'“'},     {u"rdquo", u'”'},    {u"bdquo", u'„'},
    {u"lsquo", u'‘'},  {u"rsquo", u'’'},     {u"ndash", u'–'},    {u"mdash", u'—'},
    {u"hellip", u'…'}, {u"bull", u'•'},      {u"middot", u'·'},   {u"copy", u'©'},
    {u"reg", u'®'},    {u"deg", u'°'},       {u"times", u'×'},    {u"divide", u'÷'},
    {u"plusmn", u'±'}, {u"minus", u'−'},     {u"sect", u'§'},     {u"para", u'¶'},
    {u"euro", u'€'},   {u"numero", u'№'},
}};

std::optional<char32_t> numericReference(QStringView digits) {
    const bool hex = digits.startsWith(u'x') || digits.startsWith(u'X');
    const QStringView number = hex ? digits.sliced(1) : digits;
    if (number.isEmpty() || number.size() > 8) {
        return number.isEmpty() ? std::nullopt : std::optional<char32_t>(0xFFFD);
    }
    bool ok = false;
    const uint value = number.toUInt(&ok, hex ? 16 : 10);
    if (!ok) {
        return std::nullopt;
    }
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0xFFFD;
    }
    return value;
}

std::optional<char32_t> reference(QStringView body) {
    if (body.startsWith(u'#')) {
        return numericReference(body.sliced(1));
    }
    for (const NamedEntity& e : namedEntities) {
        if (body == e.name) {
            return e.character;
        }
    }
    return std::nullopt;
}

} // namespace

void appendDecodedEntities(QString& out, QStringView raw) {
    qsizetype from = 0;
    while (from < raw.size()) {
        const qsizetype amp = raw.indexOf(u'&', from);
        if (amp < 0) {
            break;
        }
        // A reference is at most a few characters long; look no further for its ";".
        const qsizetype semicolon =
            raw.sliced(amp, qMin<qsizetype>(raw.size() - amp, 12)).indexOf(u';');
        const std::optional<char32_t> c =
            semicolon > 1 ? reference(raw.sliced(amp + 1, semicolon - 1)) : std::nullopt;
        if (!c) {
            out.append(raw.sliced(from, amp + 1 - from));
            from = amp + 1;
            continue;
        }
        out.append(raw.sliced(from, amp - from));
        const char32_t character = *c;
        out.append(QString::fromUcs4(&character, 1));
        from = amp + semicolon + 1;
    }
    out.append(raw.sliced(from));
}

} // namespace velmora
