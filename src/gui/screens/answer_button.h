// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRadioButton>

namespace velmora {

// An answer's option button whose text wraps onto as many lines as it needs within the button's
// width, drawn as it stands ("&" is a letter, not a shortcut mark). The whole button, text
// included, takes clicks as its round mark does.
class AnswerButton : public QRadioButton {
    Q_OBJECT

public:
    explicit AnswerButton(QWidget* parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    // Where the text lies in a button `width` pixels wide, as high as the text needs.
    QRect textRect(int width) const;
    int textLeft() const;
};

} // namespace velmora
