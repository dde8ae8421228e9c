#include "app/program_windows.h"

#include "app/about_author_window.h"
#include "app/about_program_dialog.h"
#include "app/main_window.h"
#include "app/title_page.h"
#include "testing/scrambling_tool.h"

namespace velmora {

std::unique_ptr<QDialog> createScramblingTool() {
    return std::make_unique<ScramblingTool>();
}

ProgramWindows::ProgramWindows(const DocumentViewFactory& makeView)
    : form1_(std::make_unique<MainWindow>(makeView)), form2_(createScramblingTool()),
      form3_(std::make_unique<TitlePage>(form1_.get())),
      okRightDlg_(std::make_unique<AboutProgramDialog>()),
      form5_(std::make_unique<AboutAuthorWindow>()) {
    form1_->setCompanionWindows(form2_.get(), okRightDlg_.get(), form5_.get());
    form1_->hide();
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::showTitlePage() {
    form3_->exec();
}

} // namespace velmora
