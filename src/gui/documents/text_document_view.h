// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/documents/document_view.h"

#include <QTextBrowser>

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
};

} // namespace velmora
