// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/screen_parts.h"

#include "gui/kit/first_show.h"
#include "gui/kit/picture.h"
#include "gui/kit/svg_icon.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

// The resources live in a static library: they are registered once by hand.
static void registerAccessIcons() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(access_icons);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace velmora::screen_parts {
namespace {

constexpr int kButtonPictureSize = 40;

QString resource(const QString& picture) {
    return QStringLiteral(":/access/icons/") + picture;
}

} // namespace

QLabel* label(QWidget* parent, const QString& text, QPoint position, const QFont& font,
              const QColor& colour) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    l->setFont(font);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, colour);
    l->setPalette(palette);
    l->setAccessibleName(text.trimmed());
    l->move(position);
    onFirstShow(l, [l] { l->adjustSize(); });
    return l;
}

QLineEdit* textBox(QWidget* parent, const QString& name, const QRect& geometry, const QFont& font,
                   QLabel* label, Echo echo) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setFont(font);
    box->setAccessibleName(label->text().trimmed());
    label->setBuddy(box);
    if (echo == Echo::Password) {
        box->setEchoMode(QLineEdit::Password);
        box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    }
    return box;
}

QToolButton* flatButton(QWidget* parent, const QString& name, const QString& text,
                        const QRect& geometry, const QFont& font, const QString& picture) {
    registerAccessIcons();
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setAccessibleName(text);
    button->setFont(font);
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIcon(svgIcon(resource(picture)));
    button->setIconSize(QSize(kButtonPictureSize, kButtonPictureSize));
    // Reached by Tab (and pressed with Space) but not focused by a click, which would take the
    // focus from the box being typed in.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QLabel* picture(QWidget* parent, const QString& name, const QRect& geometry, const QString& picture,
                const QString& accessibleName) {
    registerAccessIcons();
    QLabel* l = addPicture(parent, resource(picture), geometry, accessibleName);
    l->setObjectName(name);
    return l;
}

} // namespace velmora::screen_parts
