// SPDX-License-Identifier: GPL-3.0-or-later
// The QtWebEngine module: a QWebEngineView behind the document view interface.
#include "gui/documents/web_engine_module.h"

#include <QUrl>
#include <QWebEngineView>

namespace {

class EngineView : public QWebEngineView, public velmora::DocumentView {
public:
    explicit EngineView(QWidget* parent) : QWebEngineView(parent) {}

    QWidget* widget() override { return this; }
    void navigate(const QString& location) override { setUrl(QUrl::fromLocalFile(location)); }
    void back() override { QWebEngineView::back(); }
    void forward() override { QWebEngineView::forward(); }
};

} // namespace

extern "C" Q_DECL_EXPORT velmora::DocumentView* velmora_create_engine_view(QWidget* parent) {
    return new EngineView(parent);
}
