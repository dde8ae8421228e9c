#include "gui/windows/program_windows.h"

#include "gui/kit/first_show.h"
#include "gui/windows/about_author_window.h"
#include "gui/windows/about_program_dialog.h"
#include "gui/windows/main_window.h"
#include "gui/windows/scrambling_tool.h"
#include "gui/windows/title_page.h"

namespace velmora {

ProgramWindows::ProgramWindows(const DocumentViewFactory& makeView)
    : form1_(std::make_unique<MainWindow>(makeView, nullptr, ControlsBuilt::Later)),
      form2_(std::make_unique<ScramblingTool>(nullptr, ControlsBuilt::Later)),
      form3_(std::make_unique<TitlePage>(form1_.get())),
      okRightDlg_(std::make_unique<AboutProgramDialog>()),
      form5_(std::make_unique<AboutAuthorWindow>()) {
    form1_->setCompanionWindows(form2_.get(), okRightDlg_.get(), form5_.get());
    form1_->hide();
}

ProgramWindows::~ProgramWindows() = default;

QDialog& ProgramWindows::form2() const {
    return *form2_;
}

void ProgramWindows::showTitlePage() {
    // The hidden windows build their controls while the title page is shown, not before it.
    afterFirstPaint(form3_.get(), [this] {
        form1_->buildControls();
        form2_->buildControls();
    });
    form3_->exec();
}

} // namespace velmora
