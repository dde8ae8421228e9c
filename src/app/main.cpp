#include "app/document_view.h"
#include "app/main_window.h"
#include "app/program_windows.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    velmora::prepareDocumentViews();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ЭУИ Velmora"));
    velmora::ProgramWindows windows;
    // Closing the main window ends the program, whatever other window is still open.
    QObject::connect(&windows.form1(), &velmora::MainWindow::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    windows.showTitlePage();
    return QApplication::exec();
}
