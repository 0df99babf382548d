#include "settings/rfc_paths.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace parchly {

std::string rfcPath(const std::string& rootPath, int number)
{
    char path[1024];
    std::snprintf(path, sizeof path, "%s/rfc%d.txt", rootPath.c_str(), number);
    return path;
}

bool canOpenForReading(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return false;
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

} // namespace parchly
