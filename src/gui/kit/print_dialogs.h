// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/storage/failure.h"

#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace velmora {

// The program's print dialog. Tests switch it to answering without showing anything.
class PrintDialogs {
public:
    // Lets the user choose where and how `printer` prints, with the system's print dialog (which
    // also offers a PDF file); true when they chose to print.
    static bool choose(QWidget* parent, QPrinter& printer);
    // The failure of a print that did not come out: "Unable to write to" and the PDF file or the
    // printer it was to go to.
    static Failure failed(const QPrinter& printer);
    // Throws failed(printer) when the printer ended in its error state (a PDF file that could not
    // be made, a printer that refused the job).
    static void checkPrinted(const QPrinter& printer);

    // Test seam: while a headless answer is set, no dialog is shown: a path answers "print to this
    // PDF file", an empty optional answers Cancel. Unset with setHeadless(false).
    static void setHeadless(bool headless);
    static void setNextAnswer(std::optional<QString> pdfPath);
    // How often the dialog was asked for.
    static int asked();
};

} // namespace velmora
