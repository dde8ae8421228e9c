// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/print_dialogs.h"

#include <QPrintDialog>
#include <QPrinter>

namespace velmora {
namespace {

struct SeamState {
    bool headless = false;
    std::optional<QString> answer;
    int asked = 0;
};

SeamState& seam() {
    static SeamState state;
    return state;
}

} // namespace

bool PrintDialogs::choose(QWidget* parent, QPrinter& printer) {
    SeamState& s = seam();
    ++s.asked;
    if (s.headless) {
        if (!s.answer) {
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(*s.answer);
        return true;
    }
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

Failure PrintDialogs::failed(const QPrinter& printer) {
    const QString file = printer.outputFileName();
    return failures::unableToWrite(file.isEmpty() ? printer.printerName() : file);
}

void PrintDialogs::checkPrinted(const QPrinter& printer) {
    if (printer.printerState() == QPrinter::Error) {
        throw failed(printer);
    }
}

void PrintDialogs::setHeadless(bool headless) {
    seam().headless = headless;
}

void PrintDialogs::setNextAnswer(std::optional<QString> pdfPath) {
    seam().answer = std::move(pdfPath);
}

int PrintDialogs::asked() {
    return seam().asked;
}

} // namespace velmora
