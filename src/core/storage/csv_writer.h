// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

namespace velmora {

// The one writer of the program's CSV texts (the journal's file, velmora-admin's listings). Every
// export writes one convention, which spreadsheets in Russian and Kazakh settings open as a table:
// UTF-8 with a byte order mark, ";" between fields, CR LF after each line. A cell holding the
// separator, a quote or a line break is quoted, its quotes doubled. A text cell that a
// spreadsheet would take for a formula (beginning with "=", "+", "-", "@", a tab or a carriage
// return) gets an apostrophe first, so that the spreadsheet shows it as the text it is.
class CsvWriter {
public:
    // The program's convention.
    CsvWriter() : CsvWriter(QLatin1Char(';'), QStringLiteral("\r\n")) {}
    CsvWriter(QChar separator, QString lineEnd);

    // A text someone typed (a name, a question) or a caption.
    CsvWriter& text(const QString& cell);
    // A value the program wrote itself (a grade, a mean, a share, "—"): kept as it is.
    CsvWriter& number(const QString& cell);
    // Ends the line of the cells added since the last one.
    void endLine();

    // Everything written, the last line ended.
    const QString& result() const { return out_; }
    // The same as a file's bytes: the byte order mark, then the text in UTF-8.
    QByteArray bytes() const;

private:
    static QString textCell(const QString& cell, QChar separator);
    static QString quotedIfNeeded(const QString& cell, QChar separator);
    void add(const QString& written);

    QChar separator_;
    QString lineEnd_;
    QString out_;
    bool lineStarted_ = false;
};

} // namespace velmora
