// The one table of the program's commands: menu text, status prompt and
// tool tip, toolbar button text, icon and accelerators of every command id.
// Whether a command is enabled comes from the command route, not from here.
#ifndef PARCHLY_FRAME_COMMAND_TABLE_H
#define PARCHLY_FRAME_COMMAND_TABLE_H

#include <vector>

namespace parchly {

struct CommandInfo {
    int id;
    const char* menuText; // with its mnemonic and "\t" accelerator text
    const char* prompt; // "status prompt\ntool tip", or null
    const char* buttonText; // button text when LargeToolBarButtonWithText is set
    const char* themeIcon; // freedesktop icon name, or null without icon
    const char* shortcuts; // "Ctrl+C;Ctrl+Ins", or null
};

const std::vector<CommandInfo>& commandTable();

// The table's entry of `id`, or null.
const CommandInfo* findCommand(int id);

// Entries of a menu or toolbar layout that are not command ids.
enum LayoutSlot : int {
    kSeparator = 0,
    kRecentFilesSlot = -1,
    kToolbarsSubmenuSlot = -2,
    kWindowListSlot = -3,
    kFavoritesSubmenuSlot = -4,
};

struct MenuLayout {
    const char* title;
    std::vector<int> items;
};

// The two menu bars: while no document is open, and while one is.
enum class MenuSet { None, NoDocument, Document };
const std::vector<MenuLayout>& menuLayout(MenuSet set);

struct ToolbarLayout {
    const char* objectName;
    const char* caption;
    std::vector<int> buttons;
};

// Standard, Edit and View, in this order.
const std::vector<ToolbarLayout>& toolbarLayouts();

// The commands of the Toolbars submenu.
const std::vector<int>& toolbarsSubmenu();

} // namespace parchly

#endif
