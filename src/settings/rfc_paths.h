// Where an RFC's file lies under the RFC folder, and whether a file can be
// read; shared by the application, the frame and the reading view.
#ifndef PARCHLY_SETTINGS_RFC_PATHS_H
#define PARCHLY_SETTINGS_RFC_PATHS_H

#include <string>

namespace parchly {

// The path of RFC `number` under `rootPath`: "<rootPath>/rfc<number>.txt",
// however long the folder's name.
std::string rfcPath(const std::string& rootPath, int number);

// Whether `path` names a regular file this user may read (a folder, a FIFO
// or a device is not one). Never blocks.
bool canOpenForReading(const std::string& path);

} // namespace parchly

#endif
