// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/documents/text_document_view.h"

#include "core/storage/failure.h"
#include "gui/kit/high_contrast.h"
#include "gui/kit/svg_icon.h"

#include <QImage>
#include <QPrinter>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <QWheelEvent>

namespace velmora {

TextDocumentView::TextDocumentView(QWidget* parent) : QTextBrowser(parent) {
    setOpenExternalLinks(true);
    setFrameShape(QFrame::NoFrame);
    baseFontSize_ = document()->defaultFont().pointSizeF();
    connect(this, &QTextBrowser::sourceChanged, this, [this] {
        matches_.clear();
        if (listener_ != nullptr) {
            listener_->pageLoaded();
        }
    });
}

void TextDocumentView::navigate(const QString& location) {
    const QUrl url = QUrl::fromLocalFile(location);
    if (!url.isValid()) {
        throw Failure(QStringLiteral("Invalid URL: %1").arg(location));
    }
    const QScopedValueRollback own(ownNavigation_, true);
    setSource(url);
}

void TextDocumentView::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    // Anchors within the page are not navigations to another page.
    const bool samePage =
        name.adjusted(QUrl::RemoveFragment) == source().adjusted(QUrl::RemoveFragment);
    if (!ownNavigation_ && !samePage && listener_ != nullptr && !listener_->mayFollow(name)) {
        return;
    }
    QTextBrowser::doSetSource(name, type);
    if (highContrast_) {
        overrideColours();
    }
}

void TextDocumentView::setHighContrast(bool on) {
    if (on == highContrast_) {
        return;
    }
    highContrast_ = on;
    if (on) {
        overrideColours();
    } else if (!source().isEmpty()) {
        reload(); // the page again, as the course styles it
    }
}

namespace {

// Every frame below `frame`, tables included, `frame` first.
void collectFrames(QTextFrame* frame, QList<QTextFrame*>& frames) {
    frames.append(frame);
    for (QTextFrame* child : frame->childFrames()) {
        collectFrames(child, frames);
    }
}

} // namespace

void TextDocumentView::overrideColours() {
    const QPalette look = HighContrast::palette();
    QTextDocument* page = document();
    QTextCursor all(page);
    all.select(QTextCursor::Document);
    QTextCharFormat text;
    text.setForeground(look.text());
    text.setBackground(look.base());
    all.mergeCharFormat(text);
    QTextBlockFormat block;
    block.setBackground(look.base());
    all.mergeBlockFormat(block);
    // Links in the look's link colour: their ranges first, as recolouring splits fragments.
    QList<std::pair<int, int>> links;
    for (QTextBlock b = page->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isAnchor()) {
                links.append({it.fragment().position(), it.fragment().length()});
            }
        }
    }
    QTextCharFormat link;
    link.setForeground(look.link());
    for (const auto& [start, length] : links) {
        QTextCursor at(page);
        at.setPosition(start);
        at.setPosition(start + length, QTextCursor::KeepAnchor);
        at.mergeCharFormat(link);
    }
    QList<QTextFrame*> frames;
    collectFrames(page->rootFrame(), frames);
    for (QTextFrame* frame : std::as_const(frames)) {
        QTextFrameFormat format = frame->frameFormat();
        format.setBackground(look.base());
        format.setBorderBrush(look.text());
        frame->setFrameFormat(format);
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            for (int row = 0; row < table->rows(); ++row) {
                for (int column = 0; column < table->columns(); ++column) {
                    QTextTableCell cell = table->cellAt(row, column);
                    QTextCharFormat cellFormat = cell.format();
                    cellFormat.setBackground(look.base());
                    cell.setFormat(cellFormat);
                }
            }
        }
    }
}

QVariant TextDocumentView::loadResource(int type, const QUrl& name) {
    if (drawsSvg() || type != QTextDocument::ImageResource ||
        !name.path().endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        return QTextBrowser::loadResource(type, name);
    }
    // A page's SVG picture is shown from its twin, drawn at twice the picture's size.
    QUrl twin = name;
    twin.setPath(svgTwinPath(name.path()));
    QImage image = QImage::fromData(QTextBrowser::loadResource(type, twin).toByteArray());
    image.setDevicePixelRatio(2.0);
    return image;
}

void TextDocumentView::find(const QString& text, bool backward, const FindResult& done) {
    if (text != findText_ || matches_.isEmpty()) {
        findText_ = text;
        matches_.clear();
        active_ = -1;
        for (QTextCursor at = document()->find(text); !text.isEmpty() && !at.isNull();
             at = document()->find(text, at)) {
            matches_.append(at);
        }
    } else if (!matches_.isEmpty()) {
        const qsizetype n = matches_.size();
        active_ = (active_ + (backward ? n - 1 : 1)) % n;
    }
    if (active_ < 0 && !matches_.isEmpty()) {
        active_ = backward ? matches_.size() - 1 : 0;
    }
    highlightMatches();
    done(matches_.isEmpty() ? 0 : static_cast<int>(active_ + 1), static_cast<int>(matches_.size()));
}

void TextDocumentView::highlightMatches() {
    QList<QTextEdit::ExtraSelection> marks;
    for (qsizetype i = 0; i < matches_.size(); ++i) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = matches_[i];
        mark.format.setBackground(i == active_ ? QColor(0xFF, 0x96, 0x32)
                                               : QColor(0xFF, 0xFF, 0x00));
        marks.append(mark);
    }
    setExtraSelections(marks);
    if (active_ >= 0 && active_ < matches_.size()) {
        setTextCursor(matches_[active_]);
        ensureCursorVisible();
    }
}

void TextDocumentView::setZoomFactor(double factor) {
    QFont font = document()->defaultFont();
    font.setPointSizeF(baseFontSize_ * factor);
    document()->setDefaultFont(font);
}

void TextDocumentView::print(QPrinter* printer, const std::function<void(bool)>& done) {
    document()->print(printer);
    done(printer->printerState() != QPrinter::Error);
}

void TextDocumentView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier && listener_ != nullptr) {
        listener_->zoomStep(event->angleDelta().y() > 0 ? 1 : -1);
        event->accept();
        return;
    }
    QTextBrowser::wheelEvent(event);
}

} // namespace velmora
