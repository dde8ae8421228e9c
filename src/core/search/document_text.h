// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace velmora {

struct DocumentText {
    QString title;
    QString text;
};

// The readable text of an HTML document: no markup, scripts, styles or comments; entities decoded;
// block elements (p, br, div, li, td, h1–h6, tr) end words. Decoded in the document's own
// character set: its <meta charset> (or http-equiv content-type charset), else UTF-8 when the bytes
// decode as UTF-8 without error, else the program's single-byte code page (CodePage::decode in
// src/core/storage/code_page.h). A charset name that no decoder knows falls back the same way.
// Returns nothing for bytes that cannot be decoded at all: binary data, with a NUL byte (text
// holds none, except UTF-16, which is read when it starts with its byte order mark).
std::optional<DocumentText> readDocumentText(const QByteArray& html);

} // namespace velmora
