// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPushButton;

namespace velmora {

// The about-program dialog (object name "OKRightDlg"), created once and shown modally.
class AboutProgramDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutProgramDialog(QWidget* parent = nullptr);

    // Shows the dialog modally under the caption "О программе"; returns when it closes.
    void showAboutProgram();

    QPushButton* okButton() const { return okBtn_; }

private:
    QPushButton* okBtn_ = nullptr;
};

} // namespace velmora
