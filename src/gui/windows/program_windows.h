#pragma once

#include "gui/documents/document_view.h"

#include <QDialog>
#include <memory>

namespace velmora {

class AboutAuthorWindow;
class AboutProgramDialog;
class MainWindow;
class ScramblingTool;
class TitlePage;

// The program's five windows, created once in their fixed order — main window, test scrambling
// tool, title page, about-program dialog, about-author window — none of them visible.
class ProgramWindows {
public:
    explicit ProgramWindows(const DocumentViewFactory& makeView = createDocumentView);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // Shows the title page modally; it makes the main window visible when it closes, and this
    // returns then.
    void showTitlePage();

    MainWindow& form1() const { return *form1_; }
    QDialog& form2() const;
    TitlePage& form3() const { return *form3_; }
    AboutProgramDialog& okRightDlg() const { return *okRightDlg_; }
    AboutAuthorWindow& form5() const { return *form5_; }

private:
    std::unique_ptr<MainWindow> form1_;
    std::unique_ptr<ScramblingTool> form2_;
    std::unique_ptr<TitlePage> form3_;
    std::unique_ptr<AboutProgramDialog> okRightDlg_;
    std::unique_ptr<AboutAuthorWindow> form5_;
};

} // namespace velmora
