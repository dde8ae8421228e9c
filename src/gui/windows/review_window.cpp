// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/review_window.h"

#include "gui/kit/handler_guard.h"
#include "gui/kit/print_dialogs.h"

#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QShortcut>
#include <QTextDocument>
#include <QVBoxLayout>

namespace velmora {

ReviewWindow::ReviewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ReviewWindow"));
    setWindowTitle(QStringLiteral("Разбор теста"));
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("reviewText"));
    text_->setReadOnly(true);
    text_->setAccessibleName(QStringLiteral("Разбор теста"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    auto* print = new QShortcut(QKeySequence::Print, this);
    connect(print, &QShortcut::activated, this, &ReviewWindow::print);
    resize(720, 540);
}

void ReviewWindow::showReview(const QString& review) {
    text_->setPlainText(review);
    show();
    raise();
    activateWindow();
}

void ReviewWindow::print() {
    guarded(this, [&] {
        QPrinter printer(QPrinter::HighResolution);
        if (!PrintDialogs::choose(this, printer)) {
            return;
        }
        QTextDocument document(text_->toPlainText());
        document.print(&printer);
        PrintDialogs::checkPrinted(printer);
    });
}

} // namespace velmora
