// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <vector>

namespace velmora {

// Who the menu bar serves. `Design` is the menu as the window is built, before it is first shown.
enum class MenuState { Design, BeforeSignIn, Student, Administrator };

// One of the program's own menus or commands, which follow the course's menus on the menu bar.
struct ProgramEntry {
    QString name;    // the Qt object name ("Nadm")
    QString caption; // "Басқару"
    QString icon;    // a program icon (":/icons/progress.svg"); empty for none
    // Opens the course's help document instead of running a command ("Көмек" → "Көмек").
    bool opensHelp = false;
    // A command that is on or off ("Жоғары контраст"), shown with a check mark.
    bool checkable = false;
    // Shown in each menu state, in the order of MenuState.
    std::array<bool, 4> shownIn{true, true, true, true};
    bool hiddenDuringTest = false;
    std::vector<ProgramEntry> entries; // a menu's entries; empty for a command

    bool isMenu() const { return !entries.empty(); }
    bool shown(MenuState state) const { return shownIn[static_cast<size_t>(state)]; }
};

// The program's own menus and commands, in menu-bar order: "Басқару", "Авторизация формаға",
// "Көмек" and "Шығу".
const std::vector<ProgramEntry>& programMenus();

} // namespace velmora
