// SPDX-License-Identifier: GPL-3.0-or-later
// The QtWebEngine module: a QWebEngineView behind the document view interface.
#include "gui/documents/web_engine_module.h"

#include <QChildEvent>
#include <QUrl>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>
#include <QWheelEvent>

namespace {

using velmora::DocumentViewListener;

// A page that asks the listener before it follows a link, a form, a script or the history.
class GuardedPage : public QWebEnginePage {
public:
    GuardedPage(DocumentViewListener* const& listener, QObject* parent)
        : QWebEnginePage(parent), listener_(listener) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        // The program's own navigations come typed; reloads stay on the page.
        const bool asked =
            isMainFrame && type != NavigationTypeTyped && type != NavigationTypeReload &&
            listener_ != nullptr &&
            url.adjusted(QUrl::RemoveFragment) != this->url().adjusted(QUrl::RemoveFragment);
        return !asked || listener_->mayFollow(url);
    }

private:
    DocumentViewListener* const& listener_;
};

QString contrastScriptName() {
    return QStringLiteral("velmora-contrast");
}

// Puts the high-contrast style sheet into the page, above the course's own, or takes it out.
// Pictures keep a white ground, as their drawings are dark lines on nothing.
QString contrastSource(bool on) {
    static const QString css = QStringLiteral(
        "*, *::before, *::after { background-color: #000 !important; color: #fff !important;"
        " border-color: #fff !important; text-shadow: none !important; box-shadow: none !important "
        "}"
        " a, a * { color: #0ff !important; text-decoration: underline !important }"
        " ::selection { background-color: #ff0 !important; color: #000 !important }"
        " :focus { outline: 3px solid #ff0 !important; outline-offset: 2px }"
        " img, svg { background-color: #fff !important }");
    return QStringLiteral("(function () {"
                          " var old = document.getElementById('velmora-contrast');"
                          " if (old) old.remove();"
                          " if (!%1) return;"
                          " var style = document.createElement('style');"
                          " style.id = 'velmora-contrast';"
                          " style.textContent = '%2';"
                          " (document.head || document.documentElement).appendChild(style);"
                          "})();")
        .arg(on ? QStringLiteral("true") : QStringLiteral("false"), css);
}

class EngineView : public QWebEngineView, public velmora::DocumentView {
public:
    explicit EngineView(QWidget* parent) : QWebEngineView(parent) {
        setPage(new GuardedPage(listener_, this));
        connect(this, &QWebEngineView::loadFinished, this, [this] {
            setZoomFactor(zoom_); // the engine keeps a zoom per site; ours holds for every page
            if (listener_ != nullptr) {
                listener_->pageLoaded();
            }
        });
        connect(this, &QWebEngineView::printFinished, this, [this](bool printed) {
            if (printDone_) {
                std::exchange(printDone_, nullptr)(printed);
            }
        });
    }

    QWidget* widget() override { return this; }
    void navigate(const QString& location) override { setUrl(QUrl::fromLocalFile(location)); }
    void back() override { QWebEngineView::back(); }
    void forward() override { QWebEngineView::forward(); }

    void find(const QString& text, bool backward, const velmora::FindResult& done) override {
        const QWebEnginePage::FindFlags flags =
            backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags();
        findText(text, flags, [done](const QWebEngineFindTextResult& result) {
            done(result.activeMatch(), result.numberOfMatches());
        });
    }
    void setZoomFactor(double factor) override {
        zoom_ = factor;
        QWebEngineView::setZoomFactor(factor);
    }
    void print(QPrinter* printer, const std::function<void(bool)>& done) override {
        printDone_ = done;
        QWebEngineView::print(printer);
    }
    void setListener(DocumentViewListener* listener) override { listener_ = listener; }

    void setHighContrast(bool on) override {
        QWebEngineScriptCollection& scripts = page()->scripts();
        for (const QWebEngineScript& script : scripts.find(contrastScriptName())) {
            scripts.remove(script);
        }
        if (on) {
            QWebEngineScript script;
            script.setName(contrastScriptName());
            script.setSourceCode(contrastSource(true));
            script.setInjectionPoint(QWebEngineScript::DocumentReady);
            script.setWorldId(QWebEngineScript::ApplicationWorld);
            scripts.insert(script);
        }
        page()->runJavaScript(contrastSource(on), QWebEngineScript::ApplicationWorld);
    }

protected:
    // The page is drawn by a child widget that the engine makes; Ctrl+wheel over it is ours.
    void childEvent(QChildEvent* event) override {
        QWebEngineView::childEvent(event);
        if (event->added() && event->child()->isWidgetType()) {
            event->child()->installEventFilter(this);
        }
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel && listener_ != nullptr) {
            const auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->modifiers() & Qt::ControlModifier) {
                listener_->zoomStep(wheel->angleDelta().y() > 0 ? 1 : -1);
                return true;
            }
        }
        return QWebEngineView::eventFilter(watched, event);
    }

private:
    DocumentViewListener* listener_ = nullptr;
    double zoom_ = 1.0;
    std::function<void(bool)> printDone_;
};

} // namespace

extern "C" Q_DECL_EXPORT velmora::DocumentView* velmora_create_engine_view(QWidget* parent) {
    return new EngineView(parent);
}
