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

public Q_SLOTS:
    void Timer1Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormClose();

    QWidget* shownOnClose_;
    QTimer* timer1_;
};

} // namespace velmora
