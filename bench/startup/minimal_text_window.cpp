// SPDX-License-Identifier: GPL-3.0-or-later
// The floor window with the title page's seven lines of text in their fonts, and nothing else:
// shows what drawing any text costs at start (the font set-up) over the plain window.
#include "floor_window.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>

namespace {

void addText(QWidget* parent, const QString& text, int pixels, bool bold, bool italic, QPoint at) {
    // As the program asks for it: the Liberation twin where Times New Roman is not installed.
    static const QString family =
        QFontDatabase::families().contains(QStringLiteral("Times New Roman"))
            ? QStringLiteral("Times New Roman")
            : QStringLiteral("Liberation Serif");
    QFont font(family);
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->move(at);
    label->adjustSize();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    makeFloorWindow(window);
    addText(&window, QStringLiteral("«Жетіқұм» техникалық университеті"), 19, true, false, {16, 8});
    addText(&window, QStringLiteral("Ақпараттық жүйелер кафедрасы"), 19, true, false, {184, 32});
    addText(&window, QStringLiteral("Электронды әдістемелік кұрал"), 27, true, true, {120, 256});
    addText(&window, QStringLiteral("Velmora"), 35, true, true, {164, 298});
    addText(&window, QStringLiteral("Құрастырған: аға оқытушы Д. Велморқызы"), 19, false, false,
            {184, 352});
    addText(&window, QStringLiteral("6В0699-Ақпараттық жүйелер мамандығына арналған"), 19, false,
            false, {72, 440});
    addText(&window, QStringLiteral("Жетіқұм – 2024"), 19, false, false, {250, 608});
    window.show();
    return QApplication::exec();
}
