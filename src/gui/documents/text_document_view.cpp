// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/documents/text_document_view.h"

#include "core/storage/failure.h"

#include <QUrl>

namespace velmora {

TextDocumentView::TextDocumentView(QWidget* parent) : QTextBrowser(parent) {
    setOpenExternalLinks(true);
    setFrameShape(QFrame::NoFrame);
}

void TextDocumentView::navigate(const QString& location) {
    const QUrl url = QUrl::fromLocalFile(location);
    if (!url.isValid()) {
        throw Failure(QStringLiteral("Invalid URL: %1").arg(location));
    }
    setSource(url);
}

} // namespace velmora
