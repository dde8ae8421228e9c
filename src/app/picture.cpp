#include "app/picture.h"

#include <QIcon>
#include <QLabel>

namespace velmora {

QLabel* addPicture(QWidget* parent, const QString& resource, const QRect& rect,
                   const QString& accessibleName) {
    auto* picture = new QLabel(parent);
    picture->setPixmap(QIcon(resource).pixmap(rect.size(), parent->devicePixelRatioF()));
    picture->setScaledContents(true);
    picture->setGeometry(rect);
    picture->setAccessibleName(accessibleName);
    return picture;
}

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                 const QPoint& position) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    label->setFont(font);
    label->move(position);
    label->adjustSize();
    return label;
}

} // namespace velmora
