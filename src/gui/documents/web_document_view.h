// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/documents/document_view.h"

#include <QUrl>
#include <QWidget>

class QTimer;

namespace velmora {

// Shows documents with QtWebEngine, loaded from its module at run time. Starting the engine takes
// most of a second, so the view starts it only when first shown or a moment after the first
// navigation, when the title page is already on screen; a navigation asked for before then is
// carried out as soon as the engine runs. Without the module, a QTextBrowser serves.
class WebDocumentView : public QWidget, public DocumentView {
    Q_OBJECT
public:
    static constexpr int startDelayMs = 1000;

    explicit WebDocumentView(QWidget* parent);

    QWidget* widget() override { return this; }
    void navigate(const QString& location) override;
    void back() override;
    void forward() override;
    void find(const QString& text, bool backward, const FindResult& done) override;
    void setZoomFactor(double factor) override;
    void print(QPrinter* printer, const std::function<void(bool)>& done) override;
    void setListener(DocumentViewListener* listener) override;
    void setHighContrast(bool on) override;

    // The browser's own widget (a QWebEngineView, or the QTextBrowser that stands in), started
    // now if it has not been yet.
    QWidget* browser();

protected:
    void showEvent(QShowEvent* event) override;

private:
    DocumentView* engine_ = nullptr;
    QTimer* startTimer_;
    QString pending_;
    DocumentViewListener* listener_ = nullptr;
    double zoomFactor_ = 1.0;
    bool highContrast_ = false;
};

} // namespace velmora
