// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/picture.h"

#include "gui/kit/first_show.h"
#include "gui/kit/svg_icon.h"

#include <QLabel>

namespace velmora {

QLabel* addPicture(QWidget* parent, const QString& resource, const QRect& rect,
                   const QString& accessibleName) {
    auto* picture = new QLabel(parent);
    picture->setScaledContents(true);
    picture->setGeometry(rect);
    picture->setAccessibleName(accessibleName);
    onFirstShow(picture, [picture, resource] {
        picture->setPixmap(renderSvg(resource, picture->size(), picture->devicePixelRatioF()));
    });
    return picture;
}

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                 const QPoint& position) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleName(text);
    label->setFont(font);
    label->move(position);
    onFirstShow(label, [label] { label->adjustSize(); });
    return label;
}

} // namespace velmora
