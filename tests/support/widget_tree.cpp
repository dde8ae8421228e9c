// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/widget_tree.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>

namespace velmora::test {
namespace {

QString quoted(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"))
        .replace(QLatin1Char('\r'), QLatin1String("\\r"))
        .replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString sizeText(const QSize& size) {
    return QStringLiteral("%1×%2").arg(size.width()).arg(size.height());
}

QString colourText(const QColor& colour) {
    return colour.alpha() == 255 ? colour.name(QColor::HexRgb).toUpper()
                                 : colour.name(QColor::HexArgb).toUpper();
}

// The family asked for, the one fontconfig gave where that differs, the size and the style.
QString fontText(const QFont& font) {
    QString text = quoted(font.family());
    const QString used = QFontInfo(font).family();
    if (used != font.family()) {
        text += QStringLiteral("→") + quoted(used);
    }
    text += font.pixelSize() > 0 ? QStringLiteral(" %1px").arg(font.pixelSize())
                                 : QStringLiteral(" %1pt").arg(font.pointSizeF());
    if (font.bold()) {
        text += QStringLiteral(" bold");
    }
    if (font.italic()) {
        text += QStringLiteral(" italic");
    }
    return text;
}

QString alignmentText(Qt::Alignment alignment) {
    QStringList parts;
    const std::pair<Qt::AlignmentFlag, const char*> names[] = {
        {Qt::AlignLeft, "left"},       {Qt::AlignRight, "right"},
        {Qt::AlignHCenter, "hcenter"}, {Qt::AlignJustify, "justify"},
        {Qt::AlignTop, "top"},         {Qt::AlignBottom, "bottom"},
        {Qt::AlignVCenter, "vcenter"}, {Qt::AlignBaseline, "baseline"}};
    for (const auto& [flag, name] : names) {
        if (alignment & flag) {
            parts << QLatin1String(name);
        }
    }
    return parts.join(QLatin1Char('|'));
}

QString windowText(const QWidget& w) {
    QStringList parts;
    const Qt::WindowFlags flags = w.windowFlags();
    const std::pair<Qt::WindowType, const char*> types[] = {
        {Qt::Popup, "popup"}, {Qt::Dialog, "dialog"}, {Qt::Window, "window"}};
    for (const auto& [type, name] : types) {
        if (w.windowType() == type) {
            parts << QLatin1String(name);
            break;
        }
    }
    const std::pair<Qt::WindowType, const char*> hints[] = {
        {Qt::FramelessWindowHint, "frameless"},
        {Qt::CustomizeWindowHint, "customized"},
        {Qt::WindowTitleHint, "title-bar"},
        {Qt::WindowMinimizeButtonHint, "minimize"},
        {Qt::WindowMaximizeButtonHint, "maximize"},
        {Qt::WindowCloseButtonHint, "close"},
        {Qt::MSWindowsFixedSizeDialogHint, "fixed-size-hint"}};
    for (const auto& [hint, name] : hints) {
        if (flags.testFlag(hint)) {
            parts << QLatin1String(name);
        }
    }
    QString text = QStringLiteral("window=") + parts.join(QLatin1Char('|'));
    if (w.minimumSize() == w.maximumSize()) {
        text += QStringLiteral(" fixed");
    }
    if (w.isModal()) {
        text += QStringLiteral(" modal");
    }
    return text + QStringLiteral(" title=") + quoted(w.windowTitle());
}

QString frameText(const QFrame& frame) {
    static const char* const shapes[] = {"none",   "box",    "panel",       "win-panel",
                                         "h-line", "v-line", "styled-panel"};
    static const char* const shadows[] = {"", "plain", "raised", "sunken"};
    const auto shape = static_cast<std::size_t>(frame.frameShape());
    const auto shadow = static_cast<std::size_t>(frame.frameShadow()) >> 4;
    return QLatin1String(shape < std::size(shapes) ? shapes[shape] : "other") + QLatin1Char('/') +
           QLatin1String(shadow < std::size(shadows) ? shadows[shadow] : "other");
}

// Colours of the roles the widget's own palette changes from the one it would inherit.
void addColours(const QWidget& w, QStringList& parts) {
    const QPalette& own = w.palette();
    if (w.autoFillBackground()) {
        parts << QStringLiteral("fill=") + colourText(own.color(w.backgroundRole()));
    }
    // A style sheet sets the palette as it polishes the widget; the sheet itself is given.
    if (!w.testAttribute(Qt::WA_SetPalette) || !w.styleSheet().isEmpty()) {
        return;
    }
    const QPalette inherited = w.parentWidget() != nullptr && !w.isWindow()
                                   ? w.parentWidget()->palette()
                                   : QApplication::palette(&w);
    const std::pair<QPalette::ColorRole, const char*> roles[] = {
        {QPalette::Window, "bg"},     {QPalette::WindowText, "fg"},
        {QPalette::Base, "base"},     {QPalette::Text, "text-colour"},
        {QPalette::Button, "button"}, {QPalette::ButtonText, "button-text"}};
    for (const auto& [role, name] : roles) {
        if (role == w.backgroundRole() && w.autoFillBackground()) {
            continue; // already given as the fill
        }
        if (own.color(role) != inherited.color(role)) {
            parts << QLatin1String(name) + QLatin1Char('=') + colourText(own.color(role));
        }
    }
}

// The text a user sees in the widget, or a null string.
QString shownText(const QWidget& w) {
    if (const auto* label = qobject_cast<const QLabel*>(&w)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w)) {
        return button->text();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&w)) {
        return edit->text();
    }
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(&w)) {
        return edit->toPlainText();
    }
    if (const auto* edit = qobject_cast<const QTextEdit*>(&w)) {
        return edit->toPlainText();
    }
    return {};
}

void addKindDetails(const QWidget& w, QStringList& parts) {
    if (const auto* label = qobject_cast<const QLabel*>(&w)) {
        if (!label->pixmap().isNull()) {
            parts << QStringLiteral("pixmap=") +
                         sizeText(label->pixmap().deviceIndependentSize().toSize());
        }
        if (label->hasScaledContents()) {
            parts << QStringLiteral("scaled");
        }
        if (label->alignment() != (Qt::AlignLeft | Qt::AlignVCenter)) {
            parts << QStringLiteral("align=") + alignmentText(label->alignment());
        }
        if (label->wordWrap()) {
            parts << QStringLiteral("word-wrap");
        }
        if (label->buddy() != nullptr) {
            parts << QStringLiteral("buddy=") + label->buddy()->objectName();
        }
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w)) {
        if (!button->icon().isNull()) {
            parts << QStringLiteral("icon=") + sizeText(button->iconSize());
        }
        if (button->isCheckable()) {
            parts << (button->isChecked() ? QStringLiteral("checked")
                                          : QStringLiteral("unchecked"));
        }
        if (button->focusPolicy() == Qt::NoFocus) {
            parts << QStringLiteral("no-focus");
        }
    }
    if (const auto* push = qobject_cast<const QPushButton*>(&w); push && push->isDefault()) {
        parts << QStringLiteral("default");
    }
    if (const auto* tool = qobject_cast<const QToolButton*>(&w)) {
        if (tool->autoRaise()) {
            parts << QStringLiteral("flat");
        }
        if (tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon) {
            parts << QStringLiteral("text-beside-icon");
        }
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&w)) {
        if (edit->echoMode() != QLineEdit::Normal) {
            parts << QStringLiteral("echo=") + (edit->echoMode() == QLineEdit::Password
                                                    ? QStringLiteral("password")
                                                    : QStringLiteral("other"));
        }
        if (edit->isReadOnly()) {
            parts << QStringLiteral("read-only");
        }
    }
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(&w); edit && edit->isReadOnly()) {
        parts << QStringLiteral("read-only");
    }
    if (const auto* area = qobject_cast<const QAbstractScrollArea*>(&w)) {
        if (area->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
            parts << QStringLiteral("no-hscroll");
        }
        if (area->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
            parts << QStringLiteral("no-vscroll");
        }
        if (area->frameShape() == QFrame::NoFrame) {
            parts << QStringLiteral("frame=none");
        } else if (qobject_cast<const QScrollArea*>(&w) != nullptr) {
            parts << QStringLiteral("frame=") + frameText(*area);
        }
    } else if (const auto* frame = qobject_cast<const QFrame*>(&w);
               frame && frame->frameShape() != QFrame::NoFrame) {
        parts << QStringLiteral("frame=") + frameText(*frame);
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(&w)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) {
            items << quoted(combo->itemText(i));
        }
        parts << QStringLiteral("items=[") + items.join(QLatin1Char(',')) + QLatin1Char(']');
        if (combo->isEditable()) {
            parts << QStringLiteral("editable");
        }
        parts << QStringLiteral("current=") + quoted(combo->currentText());
    }
}

// The width a button's text and picture take, without the style's margins.
int buttonContentWidth(const QAbstractButton& button) {
    int width = 0;
    for (const QString& line : button.text().split(QLatin1Char('\n'))) {
        width = std::max(width, button.fontMetrics().horizontalAdvance(line));
    }
    if (!button.icon().isNull()) {
        width += button.iconSize().width() + 4;
    }
    if (qobject_cast<const QRadioButton*>(&button) != nullptr) {
        width += button.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                 button.style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    }
    return width;
}

// Whether a widget's text does not fit it: a label smaller than its text, a button narrower than
// its text and picture. A widget that wraps its text fits when the wrapped text is no higher than
// the widget. Returns what the text needs, or nothing when it fits.
QString textCut(const QWidget& w) {
    const auto* label = qobject_cast<const QLabel*>(&w);
    const auto* button = qobject_cast<const QAbstractButton*>(&w);
    const bool hasText = (label != nullptr && !label->text().isEmpty()) ||
                         (button != nullptr && !button->text().isEmpty());
    if (!hasText) {
        return {};
    }
    if (w.hasHeightForWidth() && (label == nullptr || label->wordWrap())) {
        const int wanted = w.heightForWidth(w.width());
        return wanted > w.height() ? QStringLiteral("needs %1 high").arg(wanted) : QString();
    }
    if (label != nullptr) {
        const QSize wanted = label->sizeHint();
        const bool fits = wanted.width() <= w.width() && wanted.height() <= w.height();
        return fits ? QString() : QStringLiteral("needs ") + sizeText(wanted);
    }
    const int wanted = buttonContentWidth(*button);
    return wanted > w.width() ? QStringLiteral("needs %1 wide").arg(wanted) : QString();
}

// A scroll area's content may be larger than the area: that is what the area scrolls.
bool outsideParent(const QWidget& w) {
    const QWidget* parent = w.parentWidget();
    if (w.isWindow() || parent == nullptr) {
        return false;
    }
    const auto* area = qobject_cast<const QScrollArea*>(parent->parentWidget());
    return !(area != nullptr && area->widget() == &w) && !parent->rect().contains(w.geometry());
}

// Where a widget on the screen does not fit: its text cut, or the widget reaching out of its
// parent.
void addFit(const QWidget& w, QStringList& parts) {
    if (!w.isVisible()) {
        return; // not yet measured: labels take their size when first shown
    }
    if (const QString cut = textCut(w); !cut.isEmpty()) {
        parts << QStringLiteral("text-cut(") + cut + QLatin1Char(')');
    }
    if (outsideParent(w)) {
        parts << QStringLiteral("outside-parent");
    }
}

QString widgetLine(const QWidget& w) {
    QStringList parts;
    parts << QLatin1String(w.metaObject()->className());
    parts << quoted(w.objectName());
    const QRect g = w.geometry();
    parts << QStringLiteral("%1,%2 %3").arg(g.x()).arg(g.y()).arg(sizeText(g.size()));
    if (w.isHidden()) {
        parts << QStringLiteral("hidden");
    } else {
        addFit(w, parts);
    }
    if (w.testAttribute(Qt::WA_Disabled)) {
        parts << QStringLiteral("disabled");
    }
    if (w.isWindow()) {
        parts << windowText(w);
    }
    const QString text = shownText(w);
    if (!text.isEmpty()) {
        parts << QStringLiteral("text=") + quoted(text);
    }
    addKindDetails(w, parts);
    if (!w.accessibleName().isEmpty()) {
        parts << (w.accessibleName() == text
                      ? QStringLiteral("accessible=text")
                      : QStringLiteral("accessible=") + quoted(w.accessibleName()));
    }
    if (!w.toolTip().isEmpty()) {
        parts << (w.toolTip() == text ? QStringLiteral("tooltip=text")
                                      : QStringLiteral("tooltip=") + quoted(w.toolTip()));
    }
    if (w.testAttribute(Qt::WA_SetFont)) {
        parts << QStringLiteral("font=") + fontText(w.font());
    }
    addColours(w, parts);
    if (!w.styleSheet().isEmpty()) {
        parts << QStringLiteral("style=") + quoted(w.styleSheet());
    }
    return parts.join(QLatin1Char(' '));
}

QString indent(int depth) {
    return QString(qsizetype{depth} * 2, QLatin1Char(' '));
}

void dumpActions(const QList<QAction*>& actions, int depth, QStringList& lines) {
    for (const QAction* action : actions) {
        if (action->isSeparator()) {
            lines << indent(depth) + QStringLiteral("separator") +
                         (action->isVisible() ? QString() : QStringLiteral(" hidden"));
            continue;
        }
        QStringList parts{QStringLiteral("action"), quoted(action->objectName()),
                          quoted(action->text())};
        const QMenu* menu = action->menu<QMenu*>();
        if (menu != nullptr) {
            parts << QStringLiteral("menu");
        }
        if (!action->isVisible()) {
            parts << QStringLiteral("hidden");
        }
        // A hidden action is also disabled: only a visible one's state says anything.
        if (action->isVisible() && !action->isEnabled()) {
            parts << QStringLiteral("disabled");
        }
        if (!action->shortcut().isEmpty()) {
            parts << QStringLiteral("shortcut=") + action->shortcut().toString();
        }
        if (!action->icon().isNull()) {
            parts << QStringLiteral("icon");
        }
        if (action->isCheckable()) {
            parts << (action->isChecked() ? QStringLiteral("checked")
                                          : QStringLiteral("unchecked"));
        }
        if (menu != nullptr && !menu->accessibleName().isEmpty() &&
            menu->accessibleName() != action->text()) {
            parts << QStringLiteral("accessible=") + quoted(menu->accessibleName());
        }
        lines << indent(depth) + parts.join(QLatin1Char(' '));
        if (menu != nullptr) {
            dumpActions(menu->actions(), depth + 1, lines);
        }
    }
}

// Qt's helpers carry names beginning "qt_"; one the program gave an accessible name is its own
// concern and stays in.
bool isQtHelper(const QWidget& w) {
    return w.objectName().startsWith(QLatin1String("qt_")) && w.accessibleName().isEmpty();
}

// The widgets under `w` that the program made: its children but Qt's helpers and other windows,
// and what a scroll area scrolls (a child of the area's helper viewport).
QList<const QWidget*> ownChildren(const QWidget& w) {
    QList<const QWidget*> children;
    if (const auto* area = qobject_cast<const QScrollArea*>(&w); area && area->widget()) {
        children << area->widget();
    }
    for (const QObject* object : w.children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child != nullptr && !child->isWindow() && !isQtHelper(*child)) {
            children << child;
        }
    }
    return children;
}

void dumpWidget(const QWidget& w, int depth, QStringList& lines) {
    lines << indent(depth) + widgetLine(w);
    if (qobject_cast<const QMenuBar*>(&w) != nullptr || qobject_cast<const QMenu*>(&w) != nullptr) {
        dumpActions(w.actions(), depth + 1, lines);
    }
    for (const QWidget* child : ownChildren(w)) {
        dumpWidget(*child, depth + 1, lines);
    }
}

// Whether a control is clipped by one of the widgets around it, up to its window or the scroll area
// it scrolls in.
bool clippedByAncestor(const QWidget& w) {
    QRect rect(QPoint(0, 0), w.size());
    for (const QWidget* inner = &w; !inner->isWindow() && inner->parentWidget() != nullptr;
         inner = inner->parentWidget()) {
        const QWidget* outer = inner->parentWidget();
        const auto* area = qobject_cast<const QScrollArea*>(outer->parentWidget());
        if (area != nullptr && area->widget() == inner) {
            return false;
        }
        rect.translate(inner->pos());
        if (!outer->rect().contains(rect)) {
            return true;
        }
    }
    return false;
}

void collectMisfits(const QWidget& w, const QString& path, QStringList& misfits) {
    const QString name =
        w.objectName().isEmpty() ? QLatin1String(w.metaObject()->className()) : w.objectName();
    const QString here = path.isEmpty() ? name : path + QLatin1Char('/') + name;
    if (w.isHidden()) {
        return;
    }
    if (const QString cut = textCut(w); !cut.isEmpty()) {
        misfits << here + QStringLiteral(": text ") + quoted(shownText(w)) +
                       QStringLiteral(" cut, ") + cut + QStringLiteral(", has ") +
                       sizeText(w.size());
    }
    if (!shownText(w).isEmpty() && clippedByAncestor(w)) {
        misfits << here + QStringLiteral(": text ") + quoted(shownText(w)) +
                       QStringLiteral(" reaches out of the widgets around it");
    }
    for (const QWidget* child : ownChildren(w)) {
        collectMisfits(*child, here, misfits);
    }
}

QString pathOf(const QWidget& w) {
    QStringList names;
    for (const QWidget* at = &w; at != nullptr; at = at->parentWidget()) {
        names.prepend(at->objectName().isEmpty() ? QLatin1String(at->metaObject()->className())
                                                 : at->objectName());
    }
    return names.join(QLatin1Char('/'));
}

// The tooltips of an item view's cells and headers that Qt would render as rich text and that
// hold a planted text.
void collectMarkupTips(const QAbstractItemView& view, const QString& here,
                       const std::function<bool(const QString&)>& shownAsMarkup,
                       QStringList& found) {
    const QAbstractItemModel* model = view.model();
    if (model == nullptr) {
        return;
    }
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QString tip = model->index(row, column).data(Qt::ToolTipRole).toString();
            if (shownAsMarkup(tip)) {
                found << here +
                             QStringLiteral(": tooltip of cell %1,%2 taken as rich text: ")
                                 .arg(row)
                                 .arg(column) +
                             quoted(tip);
            }
        }
    }
    for (const Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        const int sections =
            orientation == Qt::Horizontal ? model->columnCount() : model->rowCount();
        for (int section = 0; section < sections; ++section) {
            const QString tip = model->headerData(section, orientation, Qt::ToolTipRole).toString();
            if (shownAsMarkup(tip)) {
                found << here + QStringLiteral(": header tooltip taken as rich text: ") +
                             quoted(tip);
            }
        }
    }
}

void collectMarkup(const QWidget& w, const QStringList& planted, QStringList& found) {
    const auto holdsPlanted = [&planted](const QString& text) {
        return std::any_of(planted.begin(), planted.end(),
                           [&text](const QString& p) { return text.contains(p); });
    };
    const auto tipShownAsMarkup = [&](const QString& tip) {
        return Qt::mightBeRichText(tip) && holdsPlanted(tip);
    };
    const QString here = pathOf(w);
    if (const auto* label = qobject_cast<const QLabel*>(&w)) {
        const Qt::TextFormat format = label->textFormat();
        const bool rich = format == Qt::RichText ||
                          (format == Qt::AutoText && Qt::mightBeRichText(label->text()));
        if (rich && holdsPlanted(label->text())) {
            found << here + QStringLiteral(": label text taken as rich text: ") +
                         quoted(label->text());
        }
    }
    if (tipShownAsMarkup(w.toolTip())) {
        found << here + QStringLiteral(": tooltip taken as rich text: ") + quoted(w.toolTip());
    }
    // A header shares its view's model: the view looks at both.
    if (const auto* view = qobject_cast<const QAbstractItemView*>(&w);
        view != nullptr && qobject_cast<const QHeaderView*>(view) == nullptr) {
        collectMarkupTips(*view, here, tipShownAsMarkup, found);
    }
}

// The lines of a text, a final newline ending the last one rather than starting an empty one.
QStringList lines(QString text) {
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text.split(QLatin1Char('\n'));
}

QString goldenPath(const QString& name) {
    QString root = qEnvironmentVariable("VELMORA_SOURCE_DIR");
    if (root.isEmpty()) {
        root = QStringLiteral(VELMORA_SOURCE_TREE);
    }
    return QDir(root).filePath(QStringLiteral("tests/golden/%1.txt").arg(name));
}

// A unified-style hunk around the first difference: the common head and tail are cut to three
// lines of context and the changed middle to its first lines.
QString firstDifference(const QString& path, const QStringList& expected,
                        const QStringList& actual) {
    const qsizetype shorter = std::min(expected.size(), actual.size());
    qsizetype head = 0;
    while (head < shorter && expected[head] == actual[head]) {
        ++head;
    }
    qsizetype tail = 0;
    while (tail < shorter - head &&
           expected[expected.size() - 1 - tail] == actual[actual.size() - 1 - tail]) {
        ++tail;
    }
    constexpr qsizetype kContext = 3;
    constexpr qsizetype kShown = 30;
    const qsizetype from = std::max<qsizetype>(0, head - kContext);
    const qsizetype expectedEnd = expected.size() - tail;
    const qsizetype actualEnd = actual.size() - tail;
    const qsizetype contextAfter = std::min(kContext, tail);

    QStringList out{QStringLiteral("--- ") + path, QStringLiteral("+++ the dump")};
    out << QStringLiteral("@@ -%1,%2 +%3,%4 @@")
               .arg(from + 1)
               .arg(expectedEnd + contextAfter - from)
               .arg(from + 1)
               .arg(actualEnd + contextAfter - from);
    for (qsizetype i = from; i < head; ++i) {
        out << QLatin1Char(' ') + expected[i];
    }
    const auto changed = [&](const QStringList& lines, qsizetype end, QChar sign) {
        for (qsizetype i = head; i < end && i < head + kShown; ++i) {
            out << sign + lines[i];
        }
        if (end - head > kShown) {
            out << QStringLiteral("%1 … %2 more lines").arg(sign).arg(end - head - kShown);
        }
    };
    changed(expected, expectedEnd, QLatin1Char('-'));
    changed(actual, actualEnd, QLatin1Char('+'));
    for (qsizetype i = expectedEnd; i < expectedEnd + contextAfter; ++i) {
        out << QLatin1Char(' ') + expected[i];
    }
    return out.join(QLatin1Char('\n'));
}

} // namespace

QStringList textsThatDoNotFit(const QWidget* root) {
    QStringList misfits;
    if (root != nullptr) {
        collectMisfits(*root, QString(), misfits);
    }
    return misfits;
}

QStringList textsShownAsMarkup(const QWidget* root, const QStringList& planted) {
    QStringList found;
    if (root == nullptr) {
        return found;
    }
    collectMarkup(*root, planted, found);
    for (const QWidget* w : root->findChildren<const QWidget*>()) {
        collectMarkup(*w, planted, found);
    }
    return found;
}

QString toolTipAsRead(const QString& toolTip) {
    return Qt::mightBeRichText(toolTip) ? QTextDocumentFragment::fromHtml(toolTip).toPlainText()
                                        : toolTip;
}

QString dumpWidgetTree(const QWidget* root) {
    QStringList lines;
    if (root != nullptr) {
        dumpWidget(*root, 0, lines);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void expectMatchesGolden(const QString& name, const QString& dump) {
#ifdef Q_OS_WIN
    // The reviewed dumps record the Linux look: its fonts, their metrics, the Fusion style.
    GTEST_SKIP() << "golden " << name.toStdString() << " is compared on Linux";
#endif
    const QString path = goldenPath(name);
    if (qEnvironmentVariable("VELMORA_UPDATE_GOLDEN") == QLatin1String("1")) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            << "cannot write " << path.toStdString();
        file.write(dump.toUtf8());
        std::cout << "[ golden   ] rewrote " << path.toStdString()
                  << " — review it before committing\n";
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "No golden file " << path.toStdString()
                      << ". Create it by running this test with VELMORA_UPDATE_GOLDEN=1, then "
                         "read it through before committing it.";
        return;
    }
    QString expected = QString::fromUtf8(file.readAll());
    expected.remove(QLatin1Char('\r'));
    if (expected == dump) {
        return;
    }
    ADD_FAILURE() << "The widget tree differs from " << path.toStdString()
                  << " (if the change is intended, rerun with VELMORA_UPDATE_GOLDEN=1 and review "
                     "the file's diff):\n"
                  << firstDifference(QStringLiteral("tests/golden/") + name +
                                         QStringLiteral(".txt"),
                                     lines(expected), lines(dump))
                         .toStdString();
}

} // namespace velmora::test
