// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and waits until the screen pixel at X, Y has the colour RRGGBB; prints the
// program's process id and the milliseconds from just before its start to that moment.
// Usage: paint_probe X Y RRGGBB TIMEOUT-MS PROGRAM [ARGS...]
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 6) {
        std::fprintf(stderr, "usage: paint_probe X Y RRGGBB TIMEOUT-MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int x = QByteArray(argv[1]).toInt();
    const int y = QByteArray(argv[2]).toInt();
    const QRgb wanted = QByteArray(argv[3]).toUInt(nullptr, 16) | 0xff000000u;
    const qint64 timeout = QByteArray(argv[4]).toLongLong();
    QStringList arguments;
    for (int i = 6; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    QElapsedTimer clock;
    qint64 pid = 0;
    clock.start();
    if (!QProcess::startDetached(QString::fromLocal8Bit(argv[5]), arguments, QString(), &pid)) {
        std::fprintf(stderr, "paint_probe: cannot start %s\n", argv[5]);
        return 1;
    }
    while (clock.elapsed() < timeout) {
        const QImage pixel = screen->grabWindow(0, x, y, 1, 1).toImage();
        if (!pixel.isNull() && (pixel.pixel(0, 0) | 0xff000000u) == wanted) {
            std::printf("%lld %lld\n", pid, clock.elapsed());
            return 0;
        }
        QThread::msleep(3);
    }
    std::printf("%lld timeout\n", pid);
    return 1;
}
