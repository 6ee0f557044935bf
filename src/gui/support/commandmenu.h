// A menu-bar entry that stands for one command. A click on the entry, or its
// Alt+letter, runs the command at once, as a plain command on the menu bar
// would. Walking the menu bar with the arrow keys opens it as a menu holding
// just that command, so the walk passes over it as over any other menu: on
// a plain command the menu bar hands the keys back to the window's focus and
// the walk stops there.
#pragma once

class QAction;
class QMenu;
class QMenuBar;

namespace qmx {

// Adds the entry at the end of the bar, captioned and enabled as the command
// is, and returns its menu.
QMenu* addCommandMenu(QMenuBar* bar, QAction* command);

} // namespace qmx
