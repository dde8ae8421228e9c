#include "app/web_document_view.h"

#include "access/failure.h"

#include <QUrl>

namespace velmora {

WebDocumentView::WebDocumentView(QWidget* parent) : QWebEngineView(parent) {}

void WebDocumentView::navigate(const QString& location) {
    const QUrl url = QUrl::fromLocalFile(location);
    if (!url.isValid()) {
        throw Failure(QStringLiteral("Invalid URL: %1").arg(location));
    }
    setUrl(url);
}

} // namespace velmora
