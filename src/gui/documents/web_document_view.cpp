// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/documents/web_document_view.h"

#include "core/storage/failure.h"
#include "gui/documents/text_document_view.h"
#include "gui/documents/web_engine_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QOpenGLContext>
#include <QTimer>
#include <QVBoxLayout>

// QtGui's setter of the context that QtWebEngine shares its textures through; QtGui creates it at
// start-up only when QtWebEngine is linked into the program, which this program avoids.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace velmora {
namespace {

void ensureShareContext() {
    if (QOpenGLContext::globalShareContext() != nullptr) {
        return;
    }
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    qt_gl_set_global_share_context(context);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

// The module's factory, looked for beside the program, where the package installs it (relative
// to the program's folder) and in the build's module folder.
CreateEngineView loadEngineModule() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QStringList folders = {
        programFolder, QDir(programFolder).filePath(QStringLiteral(VELMORA_INSTALLED_MODULE_DIR)),
        QStringLiteral(VELMORA_MODULE_DIR)};
    for (const QString& folder : folders) {
        QLibrary module(QDir(folder).filePath(QStringLiteral("velmora_webengine")));
        if (auto create =
                reinterpret_cast<CreateEngineView>(module.resolve(createEngineViewSymbol))) {
            return create;
        }
    }
    return nullptr;
}

} // namespace

WebDocumentView::WebDocumentView(QWidget* parent) : QWidget(parent), startTimer_(new QTimer(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    startTimer_->setSingleShot(true);
    startTimer_->setInterval(startDelayMs);
    connect(startTimer_, &QTimer::timeout, this, &WebDocumentView::browser);
}

QWidget* WebDocumentView::browser() {
    if (engine_ == nullptr) {
        startTimer_->stop();
        ensureShareContext();
        if (const CreateEngineView create = loadEngineModule()) {
            engine_ = create(this);
        } else {
            engine_ = new TextDocumentView(this);
        }
        QWidget* view = engine_->widget();
        view->setObjectName(QStringLiteral("WebEngine"));
        view->setAccessibleName(accessibleName());
        layout()->addWidget(view);
        setFocusProxy(view);
        engine_->setListener(listener_);
        engine_->setZoomFactor(zoomFactor_);
        engine_->setHighContrast(highContrast_);
        if (!pending_.isEmpty()) {
            engine_->navigate(pending_);
        }
    }
    return engine_->widget();
}

void WebDocumentView::navigate(const QString& location) {
    if (!QUrl::fromLocalFile(location).isValid()) {
        throw Failure(QStringLiteral("Invalid URL: %1").arg(location));
    }
    if (engine_ != nullptr) {
        engine_->navigate(location);
        return;
    }
    pending_ = location;
    if (!startTimer_->isActive()) {
        startTimer_->start();
    }
}

void WebDocumentView::back() {
    if (engine_ != nullptr) {
        engine_->back();
    }
}

void WebDocumentView::forward() {
    if (engine_ != nullptr) {
        engine_->forward();
    }
}

void WebDocumentView::find(const QString& text, bool backward, const FindResult& done) {
    if (engine_ == nullptr) {
        done(0, 0);
        return;
    }
    engine_->find(text, backward, done);
}

void WebDocumentView::setZoomFactor(double factor) {
    zoomFactor_ = factor;
    if (engine_ != nullptr) {
        engine_->setZoomFactor(factor);
    }
}

void WebDocumentView::print(QPrinter* printer, const std::function<void(bool)>& done) {
    if (engine_ == nullptr) {
        done(false);
        return;
    }
    engine_->print(printer, done);
}

void WebDocumentView::setListener(DocumentViewListener* listener) {
    listener_ = listener;
    if (engine_ != nullptr) {
        engine_->setListener(listener);
    }
}

void WebDocumentView::setHighContrast(bool on) {
    highContrast_ = on;
    if (engine_ != nullptr) {
        engine_->setHighContrast(on);
    }
}

void WebDocumentView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    browser();
}

} // namespace velmora
