// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/question_source_converter.h"
#include "gui/kit/deferred_controls.h"
#include "gui/windows/source_file_chooser.h"

#include <QDialog>
#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

// The test scrambling tool (object name "Form2"): a borderless window in which the administrator
// names a test, picks its question source or a question bank (Aiken, GIFT, Moodle XML) and turns
// it into a scrambled test file beside the source. The working record lasts from one conversion to
// the next while the program runs and is shown in the hidden boxes Edit1 ... Edit8. The current
// directory is never changed here; the one found at showing is nevertheless put back at closing, so
// the main window's data paths stay valid.
class ScramblingTool : public DeferredControls<QDialog> {
    Q_OBJECT
public:
    explicit ScramblingTool(QWidget* parent = nullptr,
                            ControlsBuilt built = ControlsBuilt::WithWindow);
    ~ScramblingTool() override;

    void setChooser(std::unique_ptr<SourceFileChooser> chooser);
    const QuestionRecord& record() const { return converter_.record(); }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public Q_SLOTS:
    void done(int result) override;

private:
    void buildDeferredControls() override;
    // Handlers: showing and closing the window, and its controls.
    void rememberFolderAndCentre(); // shown
    void restoreFolder();           // closed
    void chooseSourceFile();        // a click on Edit10
    void scramble();                // Button1 "Зашифровать"
    void exitTool();                // Button2 "Выход"
    void buildLayout();
    void showRecord();

    QLineEdit* edit9_ = nullptr;
    QLineEdit* edit10_ = nullptr;
    QPushButton* button1_ = nullptr;
    QLabel* label1_ = nullptr;
    QPushButton* button2_ = nullptr;
    std::array<QLineEdit*, 8> record_{}; // Edit1 ... Edit8
    std::unique_ptr<SourceFileChooser> chooser_;
    QuestionSourceConverter converter_;
    QString savedfolder_;
};

} // namespace velmora
