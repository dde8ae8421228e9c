// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/csv_writer.h"

namespace velmora {
namespace {

// The first characters by which spreadsheets recognise a formula (or, for a tab and a carriage
// return, that they drop before looking for one).
bool startsLikeAFormula(const QString& cell) {
    if (cell.isEmpty()) {
        return false;
    }
    static const QString starts = QStringLiteral("=+-@\t\r");
    return starts.contains(cell.front());
}

} // namespace

CsvWriter::CsvWriter(QChar separator, QString lineEnd)
    : separator_(separator), lineEnd_(std::move(lineEnd)) {}

QString CsvWriter::quotedIfNeeded(const QString& cell, QChar separator) {
    const bool plain = !cell.contains(separator) && !cell.contains(QLatin1Char('"')) &&
                       !cell.contains(QLatin1Char('\n')) && !cell.contains(QLatin1Char('\r'));
    if (plain) {
        return cell;
    }
    QString quoted = cell;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvWriter::textCell(const QString& cell, QChar separator) {
    return quotedIfNeeded(startsLikeAFormula(cell) ? QLatin1Char('\'') + cell : cell, separator);
}

CsvWriter& CsvWriter::text(const QString& cell) {
    add(textCell(cell, separator_));
    return *this;
}

CsvWriter& CsvWriter::number(const QString& cell) {
    add(quotedIfNeeded(cell, separator_));
    return *this;
}

void CsvWriter::add(const QString& written) {
    if (lineStarted_) {
        out_ += separator_;
    }
    out_ += written;
    lineStarted_ = true;
}

QByteArray CsvWriter::bytes() const {
    return QByteArrayLiteral("\xEF\xBB\xBF") + out_.toUtf8();
}

void CsvWriter::endLine() {
    out_ += lineEnd_;
    lineStarted_ = false;
}

} // namespace velmora
