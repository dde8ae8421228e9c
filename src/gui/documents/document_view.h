// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace velmora {

// The browser of the document screen. The program only tells it which file to show; rendering,
// following links inside documents and the history are the browser's own.
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
