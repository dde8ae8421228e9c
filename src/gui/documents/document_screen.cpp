// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/documents/document_screen.h"

#include "gui/documents/find_bar.h"
#include "gui/kit/handler_guard.h"
#include "gui/kit/print_dialogs.h"

#include <QHideEvent>
#include <QPointer>
#include <QPrinter>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace velmora {
namespace {

// The sizes the zoom keys step through, as browsers offer them.
constexpr std::array<double, 13> kZoomSteps = {0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                               1.25, 1.5,  1.75, 2.0, 2.5, 3.0};

} // namespace

DocumentScreen::DocumentScreen(DocumentView* view, QWidget* parent) : QWidget(parent), view_(view) {
    setObjectName(QStringLiteral("documentScreen"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    view_->widget()->setParent(this);
    column->addWidget(view_->widget(), 1);
    view_->setListener(this);

    addShortcut(QKeySequence::Find, [this] { openFindBar(); });
    addShortcut(QKeySequence(Qt::Key_F3), [this] { findNext(); });
    addShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { findPrevious(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { zoomIn(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { zoomIn(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { zoomOut(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { resetZoom(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { printDocument(); });
    addShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { view_->back(); });
    addShortcut(QKeySequence(Qt::ALT | Qt::Key_Right), [this] { view_->forward(); });
}

DocumentScreen::~DocumentScreen() {
    view_->setListener(nullptr);
}

void DocumentScreen::addShortcut(const QKeySequence& keys, const std::function<void()>& run) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    // Every key runs through the one guard: a failure shows in the default error box.
    connect(shortcut, &QShortcut::activated, this, [this, run] { guarded(this, run); });
}

// ---- find in the page ----

// The bar is made when first opened, so the window's start makes no control it may never need.
FindBar* DocumentScreen::ensureFindBar() {
    if (findBar_ == nullptr) {
        findBar_ = new FindBar(this);
        layout()->addWidget(findBar_);
        connect(findBar_, &FindBar::textChanged, this, [this] { search(false); });
        connect(findBar_, &FindBar::nextWanted, this, &DocumentScreen::findNext);
        connect(findBar_, &FindBar::previousWanted, this, &DocumentScreen::findPrevious);
        connect(findBar_, &FindBar::closeWanted, this, &DocumentScreen::closeFindBar);
    }
    return findBar_;
}

void DocumentScreen::openFindBar(const QString& text) {
    ensureFindBar();
    const QString before = findBar_->text();
    findBar_->open(text);
    if (text.isEmpty() || text == before) {
        search(false); // typing a new text searches by itself
    }
}

void DocumentScreen::closeFindBar() {
    if (findBar_ == nullptr || findBar_->isHidden()) {
        return;
    }
    findBar_->hide();
    findBar_->clearCount();
    view_->find(QString(), false, [](int, int) {});
    view_->widget()->setFocus();
}

void DocumentScreen::findNext() {
    if (findBar_ == nullptr || findBar_->isHidden()) {
        openFindBar();
        return;
    }
    search(false);
}

void DocumentScreen::findPrevious() {
    if (findBar_ == nullptr || findBar_->isHidden()) {
        openFindBar();
        return;
    }
    search(true);
}

void DocumentScreen::search(bool backward) {
    const QString text = findBar_->text();
    if (text.isEmpty()) {
        findBar_->clearCount();
        view_->find(QString(), false, [](int, int) {});
        return;
    }
    // The count may come after the text has changed again: only the latest one is shown.
    QPointer<FindBar> bar = findBar_;
    view_->find(text, backward, [bar, text](int active, int total) {
        if (bar != nullptr && bar->text() == text) {
            bar->showCount(active, total);
        }
    });
}

// ---- zoom ----

void DocumentScreen::zoomIn() {
    const auto* larger = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), zoomFactor_ + 1e-6);
    setZoom(larger == kZoomSteps.end() ? kZoomSteps.back() : *larger);
}

void DocumentScreen::zoomOut() {
    const auto* smaller =
        std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), zoomFactor_ - 1e-6);
    setZoom(smaller == kZoomSteps.begin() ? kZoomSteps.front() : *(smaller - 1));
}

void DocumentScreen::resetZoom() {
    setZoom(1.0);
}

void DocumentScreen::setZoom(double factor) {
    zoomFactor_ = factor;
    view_->setZoomFactor(factor);
}

void DocumentScreen::zoomStep(int step) {
    if (step > 0) {
        zoomIn();
    } else {
        zoomOut();
    }
}

// ---- print ----

void DocumentScreen::printDocument() {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    if (!PrintDialogs::choose(this, *printer)) {
        return;
    }
    // The printer lives until the browser has finished with it; a print that did not come out is
    // shown as any failure of a handler is.
    view_->print(printer.get(), [screen = QPointer<DocumentScreen>(this), printer](bool printed) {
        if (!printed && screen != nullptr) {
            guarded(screen, [&] { throw PrintDialogs::failed(*printer); });
        }
    });
}

// ---- what the browser asks and tells ----

bool DocumentScreen::mayFollow(const QUrl& url) {
    return !guard_ || guard_(url);
}

void DocumentScreen::pageLoaded() {
    view_->setZoomFactor(zoomFactor_);
    if (findBar_ != nullptr && findBar_->isVisible() && !findBar_->text().isEmpty()) {
        search(false);
    }
}

void DocumentScreen::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Choosing another screen closes the bar.
    if (!event->spontaneous()) {
        closeFindBar();
    }
}

} // namespace velmora
