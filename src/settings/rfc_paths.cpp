#include "settings/rfc_paths.h"

#include "analysis/file_access.h"

#include <limits>

namespace parchly {

std::string rfcPath(const std::string& rootPath, int number)
{
    return rootPath + "/rfc" + std::to_string(number) + ".txt";
}

bool canOpenForReading(const std::string& path)
{
    // Looked at, not opened: opening a FIFO would wait for a writer.
    return fileRefusal(path, std::numeric_limits<std::uint64_t>::max()) == FileRefusal::None;
}

} // namespace parchly
