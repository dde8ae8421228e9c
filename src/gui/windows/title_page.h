// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QTimer;

namespace velmora {

// The title page "Титульный лист" (object name "Form3"), shown modally at start-up. Its timer
// closes it 3000 ms after it was created; closing it, by the timer or its close box, makes the
// next window visible.
class TitlePage : public QDialog {
    Q_OBJECT
public:
    explicit TitlePage(QWidget* shownOnClose, QWidget* parent = nullptr);

    QTimer* timer1() const { return timer1_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Closing, by the timer or the close box, stops the timer and shows the next window.
    void showNextWindow();

    QWidget* shownOnClose_;
    QTimer* timer1_;
};

} // namespace velmora
