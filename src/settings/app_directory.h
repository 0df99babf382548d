// The directory that holds the settings file, the help and tips files and
// the default RFC folder: the current directory at start-up.
#ifndef PARCHLY_SETTINGS_APP_DIRECTORY_H
#define PARCHLY_SETTINGS_APP_DIRECTORY_H

#include <string>

namespace parchly {

// The current directory with "/" separators and a trailing "/"; "./" when
// it cannot be read (a path of 1,024 bytes or more included).
std::string applicationDirectory();

} // namespace parchly

#endif
