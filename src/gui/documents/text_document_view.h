// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/documents/document_view.h"

#include <QList>
#include <QTextBrowser>
#include <QTextCursor>

namespace velmora {

// Shows documents with QTextBrowser: rich text without scripts, for builds without QtWebEngine.
class TextDocumentView : public QTextBrowser, public DocumentView {
    Q_OBJECT
public:
    explicit TextDocumentView(QWidget* parent);

    QWidget* widget() override { return this; }
    void navigate(const QString& location) override;
    void back() override { backward(); }
    void forward() override { QTextBrowser::forward(); }
    void find(const QString& text, bool backward, const FindResult& done) override;
    void setZoomFactor(double factor) override;
    void print(QPrinter* printer, const std::function<void(bool)>& done) override;
    void setListener(DocumentViewListener* listener) override { listener_ = listener; }
    void setHighContrast(bool on) override;

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;
    QVariant loadResource(int type, const QUrl& name) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void highlightMatches();
    // Recolours the page shown for the high-contrast look: white text on black, cyan links.
    void overrideColours();

    DocumentViewListener* listener_ = nullptr;
    bool ownNavigation_ = false;
    bool highContrast_ = false;
    double baseFontSize_ = 0;
    QString findText_;
    QList<QTextCursor> matches_;
    qsizetype active_ = -1;
};

} // namespace velmora
