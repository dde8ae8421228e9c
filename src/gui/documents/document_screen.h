// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/documents/document_view.h"

#include <QWidget>
#include <functional>

namespace velmora {

class FindBar;

// The content of the document screen: the browser, and under it the find bar. Ctrl+F opens the
// bar, F3 and Shift+F3 go to the next and previous match; Ctrl+plus, Ctrl+minus, Ctrl+0 and
// Ctrl+wheel change the size of the documents (50 % to 300 %, kept for every document shown);
// Ctrl+P prints the document shown; Alt+Left and Alt+Right go back and forward.
class DocumentScreen : public QWidget, private DocumentViewListener {
    Q_OBJECT
public:
    // Holds `view`, whose widget becomes a child of this screen.
    DocumentScreen(DocumentView* view, QWidget* parent);
    ~DocumentScreen() override;

    DocumentView* view() const { return view_; }
    // The find bar, or nullptr before it was first opened.
    FindBar* findBar() const { return findBar_; }

    // Opens the find bar and searches the page for its text; a non-empty `text` replaces it.
    void openFindBar(const QString& text = {});
    // Hides the find bar and clears the highlights in the page.
    void closeFindBar();
    void findNext();
    void findPrevious();

    double zoomFactor() const { return zoomFactor_; }
    // One step larger or smaller, or back to 100 %.
    void zoomIn();
    void zoomOut();
    void resetZoom();

    // Lets the user choose a printer, then prints the document shown.
    void printDocument();

    // Asked before the page itself leads to another document (a link, a form, a script, the
    // history); false keeps the page.
    void setNavigationGuard(std::function<bool(const QUrl&)> guard) { guard_ = std::move(guard); }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    bool mayFollow(const QUrl& url) override;
    void pageLoaded() override;
    void zoomStep(int step) override;

    FindBar* ensureFindBar();
    void search(bool backward);
    void setZoom(double factor);
    void addShortcut(const QKeySequence& keys, const std::function<void()>& run);

    DocumentView* view_;
    FindBar* findBar_ = nullptr;
    double zoomFactor_ = 1.0;
    std::function<bool(const QUrl&)> guard_;
};

} // namespace velmora
