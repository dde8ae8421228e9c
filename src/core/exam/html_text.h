// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace velmora {

// Question banks keep their texts as HTML; a test shows plain text on one line. Written by hand:
// QtCore has no HTML reader (QTextDocument is QtGui's, which the logic library does not link),
// and what is needed is small: tags dropped, character references decoded, blocks as blanks.
class HtmlText {
public:
    // The text of an HTML fragment: tags and comments removed (with the content of "script" and
    // "style"), entities and numeric references decoded, "<br>", "<p>" and the other block tags
    // read as blanks, then every run of white space as one blank, none at the ends. A "<" that
    // opens no tag is kept as text. `filesDropped` is set when the fragment shows a picture or
    // another embedded file ("img", "object", "embed", "video", "audio", "iframe").
    static QString plain(QStringView html, bool* filesDropped = nullptr);
    // `text` with "&", "<", ">" and '"' written as entities, so that plain() gives it back.
    static QString escaped(QStringView text);
};

} // namespace velmora
