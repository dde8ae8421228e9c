// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the single-byte codec of the data files. Every byte decodes to one character and encodes
// back to itself; a Unicode text encodes exactly when it holds no character the code page lacks,
// and then decodes back to itself; letter-case folding is stable.

#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "fuzz_input.h"

#include <QString>

using velmora::CodePage;
using velmora::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const QString decoded = CodePage::decode(bytes);
    check(decoded.size() == bytes.size());
    check(CodePage::canEncode(decoded));
    check(CodePage::encode(decoded) == bytes);
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        check(CodePage::fold(CodePage::fold(byte)) == CodePage::fold(byte));
    }

    // The same bytes read as UTF-16 code units: any character, paired or lone surrogates.
    const QString text(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
    const qsizetype bad = CodePage::firstUnencodable(text);
    check(CodePage::canEncode(text) == (bad < 0));
    try {
        const QByteArray encoded = CodePage::encode(text);
        check(bad < 0);
        check(encoded.size() == text.size());
        check(CodePage::decode(encoded) == text);
    } catch (const velmora::Failure& failure) {
        check(bad >= 0 && bad < text.size());
        check(failure.message() == velmora::unencodableMessage(text, bad));
    }
    return 0;
}
