// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/font_config_warm_up.h"
#include "app/start_up.h"
#include "core/program/program_folders.h"
#include "core/storage/data_path.h"
#include "gui/documents/document_view.h"
#include "gui/kit/high_contrast.h"
#include "gui/kit/program_style.h"
#include "gui/windows/main_window.h"
#include "gui/windows/program_windows.h"
#include "results/background_sender.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    velmora::FontConfigWarmUp fontConfig;
    velmora::prepareDocumentViews();
    QApplication app(argc, argv);
    // Folders under the program's id; the windows carry their own captions.
    velmora::ProgramFolders::nameApplication();
    // Ties the windows to the installed desktop entry (its name and icon in docks and task bars).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.velmora.Velmora"));
    QApplication::setStyle(new velmora::ProgramStyle);
    // The desktop asks for high contrast: every window starts in that look.
    velmora::HighContrast::instance().setOn(velmora::HighContrast::desktopAsks());
    // The windows' fonts are chosen from the installed families as the windows are made.
    fontConfig.wait();
    // The course first: a course file that cannot serve ends the program after its error box.
    const std::unique_ptr<velmora::ProgramWindows> windows = velmora::openProgramWindows();
    if (!windows) {
        return 1;
    }
    // Closing the main window ends the program, whatever other window is still open.
    QObject::connect(&windows->mainWindow(), &velmora::MainWindow::closed, &app,
                     &QApplication::quit, Qt::QueuedConnection);
    // The course's results go to its record store from a thread of their own; ending the
    // program ends that thread at once, whatever the store is doing.
    const velmora::BackgroundSender results(velmora::programFolder());
    windows->showTitlePage();
    return QApplication::exec();
}
