// SPDX-License-Identifier: GPL-3.0-or-later
#include "contrast_check.h"

#include "gui/kit/high_contrast.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabBar>
#include <QTextEdit>

namespace velmora::test {
namespace {

QString where(const QWidget& w) {
    return w.objectName().isEmpty() ? QLatin1String(w.metaObject()->className()) : w.objectName();
}

QPalette::ColorGroup groupOf(const QWidget& w) {
    return w.isEnabled() ? QPalette::Active : QPalette::Disabled;
}

// The colour behind a widget that does not fill its own ground: the nearest one that does.
QColor groundOf(const QWidget& w) {
    const QWidget* at = &w;
    while (!at->autoFillBackground() && !at->isWindow() && at->parentWidget() != nullptr) {
        at = at->parentWidget();
    }
    return at->palette().color(groupOf(w), at->backgroundRole());
}

// The text a widget shows, or nothing for one that shows none the palette colours.
QString textOf(const QWidget& w) {
    if (const auto* label = qobject_cast<const QLabel*>(&w)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w)) {
        return button->text();
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(&w)) {
        return box->title();
    }
    return {};
}

class Checker {
public:
    explicit Checker(double minimum) : minimum_(minimum) {}

    void check(const QWidget& w, const QString& text, const QColor& ink, const QColor& ground) {
        if (text.trimmed().isEmpty()) {
            return;
        }
        const double ratio = HighContrast::contrastRatio(ink, ground);
        if (ratio < minimum_) {
            found << QStringLiteral("%1 \"%2\": %3 on %4, %5:1")
                         .arg(where(w), text.left(40), ink.name(), ground.name())
                         .arg(ratio, 0, 'f', 2);
        }
    }

    void checkWidget(const QWidget& w) {
        static const QRegularExpression colour(QStringLiteral("(^|[;{\\s])(color|background)"));
        if (colour.match(w.styleSheet()).hasMatch()) {
            found << QStringLiteral("%1: colours from a style sheet: %2")
                         .arg(where(w), w.styleSheet());
        }
        const QPalette& p = w.palette();
        const auto group = groupOf(w);
        if (qobject_cast<const QLineEdit*>(&w) != nullptr ||
            qobject_cast<const QComboBox*>(&w) != nullptr) {
            const auto* line = qobject_cast<const QLineEdit*>(&w);
            const auto* combo = qobject_cast<const QComboBox*>(&w);
            const QString text = line != nullptr ? line->text() : combo->currentText();
            check(w, text, p.color(group, QPalette::Text), p.color(group, QPalette::Base));
            check(w, combo != nullptr ? text : QString(), p.color(group, QPalette::ButtonText),
                  p.color(group, QPalette::Button));
        } else if (const auto* edit = qobject_cast<const QPlainTextEdit*>(&w)) {
            check(w, edit->toPlainText(), p.color(group, QPalette::Text),
                  p.color(group, QPalette::Base));
        } else if (const auto* edit = qobject_cast<const QTextEdit*>(&w)) {
            check(w, edit->toPlainText(), p.color(group, QPalette::Text),
                  p.color(group, QPalette::Base));
        } else if (qobject_cast<const QHeaderView*>(&w) != nullptr) {
            return; // its sections show the model's header, checked with the table
        } else if (const auto* view = qobject_cast<const QAbstractItemView*>(&w)) {
            checkCells(*view);
        } else if (qobject_cast<const QMenuBar*>(&w) != nullptr ||
                   qobject_cast<const QMenu*>(&w) != nullptr) {
            for (const QAction* action : w.actions()) {
                check(w, action->isVisible() ? action->text() : QString(),
                      p.color(action->isEnabled() ? QPalette::Active : QPalette::Disabled,
                              QPalette::ButtonText),
                      p.color(QPalette::Active, QPalette::Window));
            }
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(&w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                check(w, tabs->tabText(i), p.color(group, QPalette::WindowText),
                      p.color(group, QPalette::Window));
            }
        } else {
            check(w, textOf(w), p.color(group, w.foregroundRole()), groundOf(w));
        }
    }

    QStringList found;

private:
    void checkCells(const QAbstractItemView& view) {
        const QAbstractItemModel* model = view.model();
        if (model == nullptr) {
            return;
        }
        const QPalette& p = view.palette();
        const auto group = groupOf(view);
        for (int row = 0; row < std::min(model->rowCount(), 100); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex cell = model->index(row, column);
                const QVariant ink = cell.data(Qt::ForegroundRole);
                const QVariant ground = cell.data(Qt::BackgroundRole);
                check(view, cell.data().toString(),
                      ink.isValid() ? ink.value<QBrush>().color() : p.color(group, QPalette::Text),
                      ground.isValid() ? ground.value<QBrush>().color()
                                       : p.color(group, QPalette::Base));
            }
        }
    }

    double minimum_;
};

void walk(const QWidget& w, Checker& checker) {
    if (w.isHidden()) {
        return;
    }
    checker.checkWidget(w);
    for (const QObject* object : w.children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child != nullptr && !child->isWindow()) {
            walk(*child, checker);
        }
    }
}

} // namespace

QStringList lowContrastTexts(const QWidget& root, double minimum) {
    Checker checker(minimum);
    walk(root, checker);
    // The menus that drop from the menu bar: windows of their own, shown only when opened.
    for (const QMenu* menu : root.findChildren<QMenu*>()) {
        checker.checkWidget(*menu);
    }
    return checker.found;
}

} // namespace velmora::test
