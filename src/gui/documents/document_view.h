// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QPrinter;
class QUrl;
class QWidget;

namespace velmora {

// What a document view asks of, and reports to, the screen that holds it.
class DocumentViewListener {
public:
    virtual ~DocumentViewListener() = default;
    // Asked before the browser follows a link, a form, a script or the history to another page;
    // false keeps the page shown. The program's own navigate() is never asked.
    virtual bool mayFollow(const QUrl& url) = 0;
    // A page has finished loading.
    virtual void pageLoaded() = 0;
    // The wheel was turned with Ctrl held over the page: +1 larger, -1 smaller.
    virtual void zoomStep(int step) = 0;
};

// The count a search in the page gives: the match now selected (1-based, 0 for none) of `total`.
using FindResult = std::function<void(int active, int total)>;

// The browser of the document screen. The program tells it which file to show and what to find,
// at what size and where to print; rendering, following links inside documents and the history
// are the browser's own.
class DocumentView {
public:
    virtual ~DocumentView() = default;

    // The widget that shows the documents; a child of the document screen.
    virtual QWidget* widget() = 0;
    // Starts showing the local file `location` and returns at once. A missing file is the
    // browser's matter; a request the browser refuses throws Failure.
    virtual void navigate(const QString& location) = 0;
    virtual void back() = 0;
    virtual void forward() = 0;

    // Highlights `text` in the page, letter case ignored, and selects the next match (the previous
    // one when `backward`; the first for a new text), wrapping around; `done` gets the count, now
    // or later. An empty text clears the highlights.
    virtual void find(const QString& text, bool backward, const FindResult& done) = 0;
    // Draws the page at `factor` times its size (1.0 as designed).
    virtual void setZoomFactor(double factor) = 0;
    // Prints the page shown to `printer`; `done` gets whether it was printed.
    virtual void print(QPrinter* printer, const std::function<void(bool)>& done) = 0;
    // Shows the pages in the high-contrast look (the course's own colours overridden) or as the
    // course styles them; the page shown follows at once.
    virtual void setHighContrast(bool on) = 0;
    // The listener of this view, or nullptr; it outlives the view or is reset before it goes.
    virtual void setListener(DocumentViewListener* listener) = 0;
};

// Makes the document view as a child of `parent`; the view's widget is owned by its parent.
using DocumentViewFactory = std::function<DocumentView*(QWidget* parent)>;

// The program's document view: QtWebEngine where the build has it, QTextBrowser otherwise.
DocumentView* createDocumentView(QWidget* parent);

// Sets what the document view needs before the application object exists. With QtWebEngine: no
// sandbox for a root user (Chromium refuses to run it as root) and no GPU on the offscreen
// platform. Call first in main().
void prepareDocumentViews();

} // namespace velmora
