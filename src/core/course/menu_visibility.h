// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace velmora {

// Who the menu bar serves. `Design` is the menu as the window is built, before it is first shown.
enum class MenuState { Design, BeforeSignIn, Student, Administrator };

// Whether each named menu item is visible, for one state of the program. A running test further
// hides "Дәрістер және тестілеу" and "Информация об успеваемости".
struct MenuVisibility {
    QString item;
    bool visible;
};
QList<MenuVisibility> menuVisibility(MenuState state, bool testRunning);

} // namespace velmora
