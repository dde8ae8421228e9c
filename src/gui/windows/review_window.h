// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace velmora {

// The review of an attempt after its grade ("Разбор теста", object name "ReviewWindow"): each
// question asked with the answer chosen and the right one, in a read-only text that scrolls.
// Ctrl+P prints it through the program's print dialog.
class ReviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReviewWindow(QWidget* parent = nullptr);

    // Shows `review` in front.
    void showReview(const QString& review);
    void print();

private:
    QPlainTextEdit* text_ = nullptr;
};

} // namespace velmora
