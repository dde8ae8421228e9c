#pragma once

#include "app/document_view.h"

#include <QWebEngineView>

namespace velmora {

// Shows documents with QtWebEngine.
class WebDocumentView : public QWebEngineView, public DocumentView {
    Q_OBJECT
public:
    explicit WebDocumentView(QWidget* parent);

    QWidget* widget() override { return this; }
    void navigate(const QString& location) override;
    void back() override { QWebEngineView::back(); }
    void forward() override { QWebEngineView::forward(); }
};

} // namespace velmora
