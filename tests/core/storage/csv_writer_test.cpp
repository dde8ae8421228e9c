// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/csv_writer.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// A text cell as each separator writes it: quoted where it holds the separator, a quote or a line
// break; an apostrophe first where a spreadsheet would take it for a formula.
TEST(CsvWriter, WritesTextCellsAsTextWhateverTheyBeginWith) {
    struct Row {
        QString cell;
        QString withSemicolons;
        QString withCommas;
    };
    const Row rows[] = {
        {u"Айгүл"_s, u"Айгүл"_s, u"Айгүл"_s},
        {u"Ben, Jr"_s, u"Ben, Jr"_s, u"\"Ben, Jr\""_s},
        {u"a;b"_s, u"\"a;b\""_s, u"a;b"_s},
        {u"say \"hi\""_s, u"\"say \"\"hi\"\"\""_s, u"\"say \"\"hi\"\"\""_s},
        {u"=1+1"_s, u"'=1+1"_s, u"'=1+1"_s},
        {u"+1+1"_s, u"'+1+1"_s, u"'+1+1"_s},
        {u"-2+3"_s, u"'-2+3"_s, u"'-2+3"_s},
        {u"@SUM(1)"_s, u"'@SUM(1)"_s, u"'@SUM(1)"_s},
        {u"\t=1"_s, u"'\t=1"_s, u"'\t=1"_s},
        {u"\r=1"_s, u"\"'\r=1\""_s, u"\"'\r=1\""_s},
        {u"=SUM(1;2)"_s, u"\"'=SUM(1;2)\""_s, u"'=SUM(1;2)"_s},
        {u"a=1"_s, u"a=1"_s, u"a=1"_s},
        {u"'=1"_s, u"'=1"_s, u"'=1"_s},
        {QString(), QString(), QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.cell.toStdString());
        CsvWriter semicolons(u';', u"\r\n"_s);
        semicolons.text(row.cell).endLine();
        EXPECT_EQ(semicolons.result(), row.withSemicolons + u"\r\n"_s);
        CsvWriter commas(u',', u"\n"_s);
        commas.text(row.cell).endLine();
        EXPECT_EQ(commas.result(), row.withCommas + u"\n"_s);
    }
}

// The program's own values stay as they are, quoted only where they hold the separator.
TEST(CsvWriter, KeepsNumbersAsNumbersAndEndsEachLine) {
    CsvWriter commas(u',', u"\n"_s);
    commas.text(u"name"_s).text(u"test1"_s).endLine();
    commas.text(u"-2+3"_s).number(u"-1"_s).number(u"4,50"_s).number(QString()).endLine();
    EXPECT_EQ(commas.result(), u"name,test1\n'-2+3,-1,\"4,50\",\n"_s);
    CsvWriter semicolons(u';', u"\r\n"_s);
    semicolons.number(u"4,50"_s).number(u"—"_s).number(u"67 %"_s).endLine();
    EXPECT_EQ(semicolons.result(), u"4,50;—;67 %\r\n"_s);
}

// Every export of the program writes one convention, the journal's: a byte order mark, ";"
// between fields, CR LF after each line, UTF-8.
TEST(CsvWriter, ExportsWriteTheSpreadsheetConvention) {
    CsvWriter csv;
    csv.text(u"Студент"_s).text(u"Тест 1"_s).endLine();
    csv.text(u"Ким; Ли"_s).number(u"4,50"_s).endLine();
    EXPECT_EQ(csv.result(), u"Студент;Тест 1\r\n\"Ким; Ли\";4,50\r\n"_s);
    EXPECT_EQ(csv.bytes(), "\xEF\xBB\xBF" + csv.result().toUtf8());
}

} // namespace
