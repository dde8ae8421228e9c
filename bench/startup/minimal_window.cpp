// SPDX-License-Identifier: GPL-3.0-or-later
// A plain window of the title page's size and colour, centred on the screen.
#include "floor_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    makeFloorWindow(window);
    window.show();
    return QApplication::exec();
}
