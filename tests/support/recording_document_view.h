// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/documents/document_view.h"

#include <QStringList>
#include <QWidget>
#include <optional>

namespace velmora::test {

// A document view that shows nothing and records what it is asked to do. Its "page" is the text
// in pageText, searched as a browser searches a page.
class RecordingDocumentView : public QWidget, public DocumentView {
    Q_OBJECT
public:
    // Takes the keyboard focus as the browsers do.
    explicit RecordingDocumentView(QWidget* parent) : QWidget(parent) {
        setFocusPolicy(Qt::StrongFocus);
    }

    QWidget* widget() override { return this; }
    void navigate(const QString& location) override;
    void back() override;
    void forward() override;
    void find(const QString& text, bool backward, const FindResult& done) override;
    void setZoomFactor(double factor) override { zoomFactor = factor; }
    void print(QPrinter* printer, const std::function<void(bool)>& done) override;
    void setListener(DocumentViewListener* listener) override { listener_ = listener; }
    void setHighContrast(bool on) override { highContrast = on; }

    // A link in the page to `location` clicked: followed (recorded, the page loaded) when the
    // listener lets it. Returns whether it was followed.
    bool followLink(const QString& location);

    // The views the factory below made, newest last.
    static RecordingDocumentView* last();
    static DocumentViewFactory factory();

    QStringList navigations;
    int backs = 0;
    int forwards = 0;
    // When set, navigate, back and forward refuse with a Failure of this text.
    std::optional<QString> refusal;
    QString pageText;
    QString highlighted; // the text last searched for; empty when cleared
    double zoomFactor = 1.0;
    bool highContrast = false;
    QStringList printedTo; // the printers' output files

private:
    DocumentViewListener* listener_ = nullptr;
    QString findText_;
    int active_ = 0;
};

} // namespace velmora::test
