// SPDX-License-Identifier: GPL-3.0-or-later
// A plain QWebEngineView of the main window's size showing the local file given as argument.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>
#include <unistd.h>

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Chromium refuses its sandbox to a root user; the program makes the same switch.
    if (::geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QApplication app(argc, argv);
    QWebEngineView view;
    view.resize(930, 742);
    view.setUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    view.show();
    return QApplication::exec();
}
