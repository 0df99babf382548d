// Unpacking an archive: whatever it holds, only files of the names the
// program opens (rfcN.txt, rfc-index.txt) are written, only inside the RFC
// folder, no link and no temporary file is left, and the count of files
// unpacked is what the folder holds.
//
// Input: the archive's bytes (zip, tar, tar.gz or any format libarchive
// reads).
#include "download/unpack_archive.h"
#include "fuzz_check.h"
#include "scratch_folder.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace parchly;
    namespace fs = std::filesystem;
    if (size > 262144)
        return 0;
    const fs::path root = fuzz::scratchFolder();
    const fs::path folder = root / "rfcs";
    const fs::path archive = root / "RFC-all";
    fs::remove_all(folder);
    fs::create_directory(folder);
    std::ofstream(archive, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    // Small limits keep each run quick; they are the same rules.
    UnpackLimits limits;
    limits.entryBytes = 1 << 20;
    limits.totalBytes = 8 << 20;
    limits.freeSpaceMargin = 0;
    const std::atomic<bool> goOn{false};
    const UnpackResult result = unpackRfcArchive(archive.string(), folder.string() + "/", goOn, {}, limits);

    std::set<std::string> inRoot;
    for (const auto& entry : fs::directory_iterator(root))
        inRoot.insert(entry.path().filename().string());
    PARCHLY_CHECK(inRoot == (std::set<std::string>{"RFC-all", "rfcs"}),
                  "nothing is written outside the folder");
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        PARCHLY_CHECK(entry.is_regular_file() && !entry.is_symlink(), "only plain files are written");
        PARCHLY_CHECK(rfcFileNameOf(name) == name, "only the names the program opens are written");
        PARCHLY_CHECK(fs::file_size(entry.path()) <= limits.entryBytes,
                      "no file is larger than an entry may be");
        ++files;
    }
    PARCHLY_CHECK(files <= result.unpacked, "every file written was counted");
    PARCHLY_CHECK(result.outcome != UnpackOutcome::Failed || !result.error.empty(), "a failure says why");
    return 0;
}
