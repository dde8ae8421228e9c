// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility_check.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QWidget>

namespace velmora::test {
namespace {

QString pathOf(const QWidget& w) {
    QStringList names;
    for (const QWidget* at = &w; at != nullptr; at = at->parentWidget()) {
        names.prepend(at->objectName().isEmpty() ? QLatin1String(at->metaObject()->className())
                                                 : at->objectName());
        if (at->isWindow()) {
            break;
        }
    }
    return names.join(QLatin1Char('/'));
}

QString accessibleName(const QWidget& w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(&w));
    return face == nullptr ? QString() : face->text(QAccessible::Name).trimmed();
}

void collectUnnamed(const QWidget& w, QStringList& found) {
    if (w.isHidden()) {
        return;
    }
    if (w.focusPolicy() != Qt::NoFocus && w.focusProxy() == nullptr &&
        accessibleName(w).isEmpty()) {
        found << pathOf(w) + QStringLiteral(" (") + QLatin1String(w.metaObject()->className()) +
                     QLatin1Char(')');
    }
    for (const QObject* object : w.children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child != nullptr && !child->isWindow()) {
            collectUnnamed(*child, found);
        }
    }
}

} // namespace

QString accessibleText(const QWidget& w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(&w));
    if (face == nullptr) {
        return {};
    }
    QStringList parts{face->text(QAccessible::Name)};
    if (const QString value = face->text(QAccessible::Value); !value.isEmpty()) {
        parts << value;
    }
    return parts.join(QLatin1Char(' ')).trimmed();
}

QStringList focusableWithoutName(const QWidget* root) {
    QStringList found;
    collectUnnamed(*root, found);
    return found;
}

} // namespace velmora::test
