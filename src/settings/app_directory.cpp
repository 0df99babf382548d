#include "settings/app_directory.h"

#include <unistd.h>

namespace parchly {

std::string applicationDirectory()
{
    char buffer[1024];
    if (!::getcwd(buffer, sizeof buffer))
        return "./";
    // The system already separates with "/"; a backslash here is part of a
    // directory's name and is kept.
    std::string directory = buffer;
    // The root is already "/"; every other directory gets its trailing "/".
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory;
}

} // namespace parchly
