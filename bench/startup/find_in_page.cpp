// SPDX-License-Identifier: GPL-3.0-or-later
// How long the count of a find in the page takes to come back, as the find bar asks for it on
// every key press: the document given as argument is loaded in a QWebEngineView of the main
// window's size, then each prefix of the word (the second argument) is searched in turn, as typed.
// Prints the slowest and the median time from the search asked to its count received.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <QWebEngineFindTextResult>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: find_in_page DOCUMENT WORD\n");
        return 2;
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QApplication app(argc, argv);
    QWebEngineView view;
    view.resize(930, 742);
    QEventLoop loaded;
    QObject::connect(&view, &QWebEngineView::loadFinished, &loaded, &QEventLoop::quit);
    view.setUrl(QUrl::fromLocalFile(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath()));
    view.show();
    loaded.exec();
    // Let the page be laid out and drawn, as it is by the time a reader presses Ctrl+F.
    QEventLoop drawn;
    QTimer::singleShot(1000, &drawn, &QEventLoop::quit);
    drawn.exec();

    const QString word = QString::fromLocal8Bit(argv[2]);

    std::vector<double> times;
    int total = 0;
    for (int round = 0; round < 5; ++round) {
        for (qsizetype length = 1; length <= word.size(); ++length) {
            QEventLoop counted;
            QElapsedTimer clock;
            clock.start();
            view.findText(word.left(length), {}, [&](const QWebEngineFindTextResult& result) {
                times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
                total = result.numberOfMatches();

                counted.quit();
            });
            counted.exec();
        }
    }
    // The first search of a page also starts the engine's finder: shown apart.
    const double first = times.front();
    std::sort(times.begin() + 1, times.end());
    std::printf("find in page: first search %.1f ms; of the %zu after it, median %.1f ms, slowest "
                "%.1f ms; %d matches of \"%s\"\n",
                first, times.size() - 1, times[times.size() / 2], times.back(), total, argv[2]);
    return 0;
}
