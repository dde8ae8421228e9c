// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace velmora {

// The about-author window "Об авторе" (object name "Form5"): modeless, created once, closed by its
// close box.
class AboutAuthorWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutAuthorWindow(QWidget* parent = nullptr);

    // Shows the window, or brings it to the front when it is already open.
    void showInFront();
};

} // namespace velmora
