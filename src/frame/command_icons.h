// Toolbar and menu icons: the desktop theme's icon when it has one, else the
// program's own picture, so that the buttons are recognisable everywhere.
#ifndef PARCHLY_FRAME_COMMAND_ICONS_H
#define PARCHLY_FRAME_COMMAND_ICONS_H

#include <QIcon>

namespace parchly {

// The icon of a command of the table; a null icon for commands without one.
QIcon commandIcon(int id);

// The program's own icon: a page of an RFC.
QIcon programIcon();

} // namespace parchly

#endif
