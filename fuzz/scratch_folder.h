// The folder a fuzz target writes its files in: made once per process under
// the temporary folder, so that parallel runs never share one.
#ifndef PARCHLY_FUZZ_SCRATCH_FOLDER_H
#define PARCHLY_FUZZ_SCRATCH_FOLDER_H

#include <cstdlib>
#include <filesystem>
#include <string>

namespace parchly::fuzz {

inline const std::filesystem::path& scratchFolder()
{
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "parchly-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return std::filesystem::path(pattern);
    }();
    return folder;
}

} // namespace parchly::fuzz

#endif
