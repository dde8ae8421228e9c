// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/documents/document_view.h"

#ifdef VELMORA_HAVE_WEBENGINE
#include "gui/documents/web_document_view.h"

#include <unistd.h>
#else
#include "gui/documents/text_document_view.h"
#endif

namespace velmora {

DocumentView* createDocumentView(QWidget* parent) {
#ifdef VELMORA_HAVE_WEBENGINE
    return new WebDocumentView(parent);
#else
    return new TextDocumentView(parent);
#endif
}

void prepareDocumentViews() {
#ifdef VELMORA_HAVE_WEBENGINE
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // The engine builds a page's accessibility tree for a screen reader only when asked, and on
    // Linux it is not even asked without this; it costs nothing while no screen reader listens.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY")) {
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    }
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" &&
        qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    }
#endif
}

} // namespace velmora
