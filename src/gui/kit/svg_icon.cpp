// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/svg_icon.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <memory>

#ifdef VELMORA_HAVE_SVG
#include <QSvgRenderer>
#endif

namespace velmora {
namespace {

#ifdef VELMORA_HAVE_SVG
using PictureSource = QSvgRenderer;
#else
// Without Qt's SVG module (the Windows build) the picture's PNG twin is drawn, scaled smoothly.
class PictureSource {
public:
    explicit PictureSource(const QString& svg) : image_(svgTwin(svg)) {}
    bool isValid() const { return !image_.isNull(); }
    void render(QPainter* painter, const QRectF& bounds) const {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(bounds, image_);
    }

private:
    QImage image_;
};
#endif

QPixmap render(PictureSource& renderer, QSize size, qreal devicePixelRatio) {
    if (!renderer.isValid() || size.isEmpty()) {
        return {};
    }
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(), QSizeF(size)));
    painter.end();
    return pixmap;
}

// Written by hand because Qt's own SVG icon engine is a plugin that parses every file as soon
// as an icon is made from it.
class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(QString resource) : resource_(std::move(resource)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State /*state*/) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pixmap = ofPixels(rect.size() * ratio, mode);
        pixmap.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pixmap);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State /*state*/) override {
        return ofPixels(size, mode);
    }

    // Qt 6.4 asks for the size in device pixels and sets the pixmap's pixel ratio itself.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State /*state*/,
                         qreal /*scale*/) override {
        return ofPixels(size, mode);
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        return size;
    }

    bool isNull() override { return !QFile::exists(resource_); }

    QString key() const override { return QStringLiteral("velmora-svg"); }

    QIconEngine* clone() const override { return new SvgIconEngine(resource_); }

private:
    QPixmap ofPixels(const QSize& pixels, QIcon::Mode mode) const {
        const QString key = QStringLiteral("velmora-svg:%1:%2x%3:%4")
                                .arg(resource_)
                                .arg(pixels.width())
                                .arg(pixels.height())
                                .arg(int(mode));
        QPixmap result;
        if (QPixmapCache::find(key, &result)) {
            return result;
        }
        if (renderer_ == nullptr) {
            // Parsed once, on the first drawing: a window icon alone is asked for four sizes.
            renderer_ = std::make_unique<PictureSource>(resource_);
        }
        result = render(*renderer_, pixels, 1.0);
        if (!result.isNull() && mode != QIcon::Normal) {
            // Greyed for disabled items, as the style draws any other icon.
            const QStyleOption option;
            result = QApplication::style()->generatedIconPixmap(mode, result, &option);
        }
        QPixmapCache::insert(key, result);
        return result;
    }

    QString resource_;
    mutable std::unique_ptr<PictureSource> renderer_;
};

} // namespace

QIcon svgIcon(const QString& resource) {
    return QIcon(new SvgIconEngine(resource));
}

QString svgTwinPath(const QString& svg) {
    return svg + QStringLiteral(".png");
}

QImage svgTwin(const QString& svg) {
    return QImage(svgTwinPath(svg));
}

QPixmap renderSvg(const QString& resource, QSize size, qreal devicePixelRatio) {
    PictureSource renderer(resource);
    return render(renderer, size, devicePixelRatio);
}

} // namespace velmora
