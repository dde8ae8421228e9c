// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::admin {

// Turns a teacher's document (.docx, .odt, Markdown) into the body of a course page with pandoc,
// Debian's converter that reads all three, its pictures extracted into a folder beside the page.
// An .html page needs no converter: it is taken as it is.
class DocumentConverter {
public:
    // The converter run: "pandoc", or the program VELMORA_PANDOC names.
    static QString program();

    // Whether the file is a page to be copied as it is (.html, .htm).
    static bool isPage(const QString& file);
    // pandoc's name of the file's format ("docx", "odt", "markdown"), or empty for a file of a
    // kind it is not given.
    static QString formatOf(const QString& file);

    // Converts `source` to HTML, run in `workFolder`: pictures go to `mediaFolder` (a path in
    // the work folder, the same as the page's links to them). Returns the page's body in UTF-8.
    // Throws Failure "cannot convert FILE: reason" with the converter's own reason, or naming the
    // package to install when the converter is missing.
    static QByteArray convert(const QString& source, const QString& workFolder,
                              const QString& mediaFolder);

    // A whole page around a converted body: the charset declared, the title set, the style sheet
    // linked when `styleSheet` (relative to the page) is not empty.
    static QByteArray page(const QByteArray& body, const QString& title, const QString& styleSheet);
};

} // namespace velmora::admin
