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
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" &&
        qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    }
#endif
}

} // namespace velmora
