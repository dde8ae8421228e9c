// SPDX-License-Identifier: GPL-3.0-or-later
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

    MainWindow& mainWindow() const { return *mainWindow_; }
    QDialog& scramblingTool() const;
    TitlePage& titlePage() const { return *titlePage_; }
    AboutProgramDialog& aboutProgram() const { return *aboutProgram_; }
    AboutAuthorWindow& aboutAuthor() const { return *aboutAuthor_; }

private:
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<ScramblingTool> scramblingTool_;
    std::unique_ptr<TitlePage> titlePage_;
    std::unique_ptr<AboutProgramDialog> aboutProgram_;
    std::unique_ptr<AboutAuthorWindow> aboutAuthor_;
};

} // namespace velmora
