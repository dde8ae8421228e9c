// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

namespace velmora {

// What choosing a menu entry does.
enum class MenuEntryKind {
    Menu,     // opens its sub-entries
    Document, // shows its course document on the document screen
    Test,     // starts the test named like the entry ("test1" ...)
    Command,  // runs the main window's handler of that item
};

// One entry of the main menu bar: its component name (also the Qt object name), caption, kind,
// document path for documents (relative to the program folder, beginning with a backslash) and the
// resource name of its small picture (empty for none).
struct MenuEntry {
    QString item;
    QString caption;
    MenuEntryKind kind = MenuEntryKind::Command;
    QString document;
    QString icon;
    std::vector<MenuEntry> entries;
};

// The whole menu bar `MainMenu1`, top-level entries in order.
const std::vector<MenuEntry>& mainMenuTable();

// The help contents page: shown by "Көмек" and loaded when the main window is created.
QString helpContentsPage();

// Every entry of the table and its sub-entries, depth first, in menu order.
std::vector<const MenuEntry*> allMenuEntries();

} // namespace velmora
