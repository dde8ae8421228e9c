// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
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
    // opens no tag is kept as text. The files the fragment shows or links and the text cannot
    // keep are appended to `files`, each once: a picture or another embedded file ("img",
    // "object", "embed", "video", "audio", "iframe", "source") and a link to a file of the
    // question bank ("@@PLUGINFILE@@/name"). Each is named by the file's name when it is one of
    // the bank's, else by its address as written; by an empty name when the tag holds the data
    // itself ("data:..."). A tag without an address names nothing.
    static QString plain(QStringView html, QStringList* files = nullptr);
    // `text` with "&", "<", ">" and '"' written as entities, so that plain() gives it back.
    static QString escaped(QStringView text);
};

} // namespace velmora
