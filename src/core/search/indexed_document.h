// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// A course document to index: its file and the caption of the menu item that opens it.
struct IndexedDocument {
    QString path;    // absolute path of the file
    QString caption; // the menu caption: the title of a document that has no <title>
};

// One search result.
struct SearchHit {
    QString path;      // as given in IndexedDocument
    QString title;     // the document's <title>, else its caption
    QString snippet;   // HTML-escaped text around the match, matched words inside <b>…</b>
    QString firstWord; // the first matched word as it stands in the text (opens the find bar)
};

} // namespace velmora
