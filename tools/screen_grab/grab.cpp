// SPDX-License-Identifier: GPL-3.0-or-later
// Saves the picture of an X window (by id, as xdotool prints it) or of the whole screen (id 0)
// as a PNG file. Usage: velmora-grab WINDOW-ID FILE.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: velmora-grab WINDOW-ID FILE.png\n");
        return 2;
    }
    bool ok = false;
    const WId window = QString::fromLocal8Bit(argv[1]).toULongLong(&ok, 0);
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(ok ? window : 0);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "velmora-grab: cannot save %s\n", argv[2]);
        return 1;
    }
    return 0;
}
