// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/program_windows.h"

#include "gui/kit/first_show.h"
#include "gui/windows/about_author_window.h"
#include "gui/windows/about_program_dialog.h"
#include "gui/windows/main_window.h"
#include "gui/windows/scrambling_tool.h"
#include "gui/windows/title_page.h"

#include <QTimer>

namespace velmora {

ProgramWindows::ProgramWindows(const DocumentViewFactory& makeView)
    : mainWindow_(std::make_unique<MainWindow>(makeView, nullptr, ControlsBuilt::Later)),
      scramblingTool_(std::make_unique<ScramblingTool>(nullptr, ControlsBuilt::Later)),
      titlePage_(std::make_unique<TitlePage>(mainWindow_.get())),
      aboutProgram_(std::make_unique<AboutProgramDialog>()),
      aboutAuthor_(std::make_unique<AboutAuthorWindow>()) {
    mainWindow_->setCompanionWindows(scramblingTool_.get(), aboutProgram_.get(),
                                     aboutAuthor_.get());
    mainWindow_->hide();
}

ProgramWindows::~ProgramWindows() = default;

QDialog& ProgramWindows::scramblingTool() const {
    return *scramblingTool_;
}

void ProgramWindows::showTitlePage() {
    // The hidden windows build their controls while the title page is shown, not before it.
    afterFirstPaint(titlePage_.get(), [this] {
        mainWindow_->buildControls();
        scramblingTool_->buildControls();
    });
    titlePage_->exec();
    // The title page is gone: the search index is built while the user signs in.
    QTimer::singleShot(0, mainWindow_.get(), &MainWindow::indexCourse);
}

} // namespace velmora
