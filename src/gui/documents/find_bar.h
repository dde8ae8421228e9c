// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

// The bar at the bottom of the document screen that finds a text in the page: "Найти:", the text
// box, the count of matches ("3 из 12") and the buttons "Далее" and "Назад". Typing searches as
// the user types; Enter goes to the next match, Shift+Enter to the previous one, Esc closes.
class FindBar : public QWidget {
    Q_OBJECT
public:
    explicit FindBar(QWidget* parent = nullptr);

    QString text() const;
    QLineEdit* box() const { return box_; }
    QLabel* count() const { return count_; }

    // Shows the bar with the box focused and its text selected; a non-empty `text` replaces it.
    void open(const QString& text = {});
    // Shows the count of the search for the box's text: match `active` of `total`. With no
    // match the box turns light red.
    void showCount(int active, int total);
    // Empties the count and gives the box its usual colour.
    void clearCount();

Q_SIGNALS:
    void textChanged(const QString& text);
    void nextWanted();
    void previousWanted();
    void closeWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setBoxColour(bool noMatch);

    QLineEdit* box_;
    QLabel* count_;
    QPushButton* next_;
    QPushButton* previous_;
};

} // namespace velmora
