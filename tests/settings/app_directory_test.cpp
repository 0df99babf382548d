#include "settings/app_directory.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace parchly {
namespace {

namespace fs = std::filesystem;

// Runs from other directories and returns to where it started.
TEST(applicationDirectory, IsTheCurrentDirectoryWithATrailingSlashOrDotSlash)
{
    const fs::path start = fs::current_path();
    test::TempFolder folder;
    const fs::path real = fs::canonical(folder.path());
    fs::current_path(real);
    EXPECT_EQ(applicationDirectory(), real.string() + "/");
    fs::current_path("/");
    EXPECT_EQ(applicationDirectory(), "/");

    // A directory removed while it is current has no path any more.
    fs::create_directory(real / "gone");
    fs::current_path(real / "gone");
    fs::remove(real / "gone");
    EXPECT_EQ(applicationDirectory(), "./");

    // A path longer than the 1,024 bytes offered for it.
    fs::current_path(real);
    for (int depth = 0; depth < 6; ++depth) {
        fs::create_directory(std::string(200, 'd'));
        fs::current_path(std::string(200, 'd'));
    }
    EXPECT_EQ(applicationDirectory(), "./");
    fs::current_path(start);
}

} // namespace
} // namespace parchly
