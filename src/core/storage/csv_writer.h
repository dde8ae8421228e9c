// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

namespace velmora {

// The one writer of the program's CSV texts (the journal's file, velmora-admin's listings). Each
// export keeps its own separator and line end; the cells follow one rule: a cell holding the
// separator, a quote or a line break is quoted, its quotes doubled. A text cell that a
// spreadsheet would take for a formula (beginning with "=", "+", "-", "@", a tab or a carriage
// return) gets an apostrophe first, so that the spreadsheet shows it as the text it is.
class CsvWriter {
public:
    CsvWriter(QChar separator, QString lineEnd);

    // A text someone typed (a name, a question) or a caption.
    CsvWriter& text(const QString& cell);
    // A value the program wrote itself (a grade, a mean, a share, "—"): kept as it is.
    CsvWriter& number(const QString& cell);
    // Ends the line of the cells added since the last one.
    void endLine();

    // Everything written, the last line ended.
    const QString& result() const { return out_; }

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
