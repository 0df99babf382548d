// Where an RFC's file lies under the RFC folder, and whether a file can be
// read; shared by the application, the frame and the reading view.
#ifndef PARCHLY_SETTINGS_RFC_PATHS_H
#define PARCHLY_SETTINGS_RFC_PATHS_H

#include <string>

namespace parchly {

// The path of RFC `number` under `rootPath`, as "%s/rfc%d.txt" limited to
// 1,023 characters.
std::string rfcPath(const std::string& rootPath, int number);

// Whether `path` names a readable file (a folder is not one).
bool canOpenForReading(const std::string& path);

} // namespace parchly

#endif
