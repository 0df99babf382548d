#include "app/app_directory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/temp_folder.h"

namespace parchly {
namespace {

// Runs the test from another directory and returns to where it started.
class AppDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override { start = std::filesystem::current_path(); }
    void TearDown() override { std::filesystem::current_path(start); }

    std::filesystem::path start;
    test::TempFolder folder;
};

TEST_F(AppDirectoryTest, IsTheCurrentDirectoryWithATrailingSlash)
{
    const std::filesystem::path real = std::filesystem::canonical(folder.path());
    std::filesystem::current_path(real);
    EXPECT_EQ(AppDirectory(), real.string() + "/");

    std::filesystem::current_path("/");
    EXPECT_EQ(AppDirectory(), "/");
}

TEST_F(AppDirectoryTest, IsDotSlashWhenTheDirectoryCannotBeRead)
{
    // A directory removed while it is current has no path any more.
    const std::filesystem::path gone = folder.path() / "gone";
    std::filesystem::create_directory(gone);
    std::filesystem::current_path(gone);
    std::filesystem::remove(gone);
    EXPECT_EQ(AppDirectory(), "./");

    // A path longer than the 1,024 bytes offered for it.
    std::filesystem::current_path(folder.path());
    const std::string part(200, 'd');
    for (int depth = 0; depth < 6; ++depth) {
        std::filesystem::create_directory(part);
        std::filesystem::current_path(part);
    }
    EXPECT_EQ(AppDirectory(), "./");
}

} // namespace
} // namespace parchly
