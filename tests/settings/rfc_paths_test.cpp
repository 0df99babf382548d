#include "settings/rfc_paths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/temp_folder.h"

namespace parchly {
namespace {

// However long the folder, the path ends in the file's whole name: it was
// once cut at 1,023 bytes, giving ".../rfc9110" without ".txt".
TEST(RfcPaths, ALongFolderKeepsTheWholeFileName)
{
    const std::string folder = "/" + std::string(1100, 'f');
    const struct {
        std::string root;
        int number;
        std::string path;
    } cases[] = {
        {"/rfcs", 9110, "/rfcs/rfc9110.txt"},
        {"", 1, "/rfc1.txt"},
        {folder, 9110, folder + "/rfc9110.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rfcPath(c.root, c.number), c.path) << c.root.size();
}

// Only a regular file can be opened; asking about a FIFO never blocks.
TEST(RfcPaths, OnlyARegularFileCanBeOpenedForReading)
{
    const test::TempFolder folder;
    folder.write("rfc1.txt", "An RFC.\n");
    std::filesystem::create_directory(folder.file("rfc2.txt"));
    ASSERT_EQ(::mkfifo(folder.file("rfc3.txt").c_str(), 0600), 0);
    const std::pair<std::string, bool> cases[] = {
        {folder.file("rfc1.txt"), true},
        {folder.file("rfc2.txt"), false},
        {folder.file("rfc3.txt"), false},
        {folder.file("rfc4.txt"), false},
        {"/dev/zero", false},
    };
    for (const auto& [path, readable] : cases)
        EXPECT_EQ(canOpenForReading(path), readable) << path;
}

} // namespace
} // namespace parchly
