// Reading and replacing files whatever lies at their names: devices, FIFOs,
// folders, files beyond the limit, links planted by someone else, a disk
// that fills, and the leftovers of a killed program.
#include "analysis/file_access.h"
#include "analysis/line_reader.h"

#include "support/file_faults.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace parchly {
namespace {

using test::namesIn;
using test::TempFolder;

// Every reader of whole files refuses, at once, what is no regular file or
// is beyond the limit; before, /dev/zero grew until memory ran out and a
// FIFO blocked its reader for good.
TEST(FileAccess, ReadersRefuseDevicesFifosFoldersAndFilesBeyondTheLimit)
{
    const TempFolder folder;
    folder.write("rfc1.txt", "An RFC.\n");
    ASSERT_EQ(::mkfifo(folder.file("fifo.txt").c_str(), 0600), 0);
    std::filesystem::create_directory(folder.file("folder.txt"));
    test::writeFileBeyond(folder.file("huge.txt"), kTextFileSizeLimit);
    const struct {
        std::string path;
        FileRefusal refusal;
    } cases[] = {
        {folder.file("rfc1.txt"), FileRefusal::None},
        {"/dev/zero", FileRefusal::NotRegular},
        {folder.file("fifo.txt"), FileRefusal::NotRegular},
        {folder.file("folder.txt"), FileRefusal::NotRegular},
        {folder.file("huge.txt"), FileRefusal::TooLarge},
        {folder.file("missing.txt"), FileRefusal::Unopened},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fileRefusal(c.path), c.refusal);
        std::string bytes;
        std::size_t size = 0;
        EXPECT_EQ(readRegularFile(c.path, kTextFileSizeLimit, bytes, size), c.refusal);
        EXPECT_EQ(LineReader::open(c.path).has_value(), c.refusal == FileRefusal::None);
        std::string text;
        EXPECT_EQ(readTextModeFile(c.path, text), c.refusal == FileRefusal::None);
    }
    // A file read whole within a smaller limit, and refused beyond it.
    std::string bytes;
    std::size_t size = 0;
    EXPECT_EQ(readRegularFile(folder.file("rfc1.txt"), 8, bytes, size), FileRefusal::None);
    EXPECT_EQ(std::string(bytes.data(), size), "An RFC.\n");
    EXPECT_EQ(readRegularFile(folder.file("rfc1.txt"), 7, bytes, size), FileRefusal::TooLarge);
}

// The temporary file is made exclusively under a name no one can guess: a
// link planted at the name an older program used is never written through,
// and the file replaced is a file, not the link.
TEST(FileAccess, AReplacementNeverWritesThroughALinkPlantedBesideTheFile)
{
    const TempFolder folder;
    const std::string path = folder.file("Parchly.ini");
    const std::string victim = folder.file("victim.txt");
    folder.write("Parchly.ini", "[s]\nkey=old\n");
    folder.write("victim.txt", "the victim's own file\n");
    const std::string planted = path + "." + std::to_string(::getpid()) + ".tmp";
    std::filesystem::create_symlink(victim, planted);

    EXPECT_EQ(replaceFileContents(path, "[s]\nkey=new\n"), "");
    EXPECT_EQ(test::readFile(victim), "the victim's own file\n");
    EXPECT_EQ(test::readFile(path), "[s]\nkey=new\n");
    EXPECT_FALSE(std::filesystem::is_symlink(path));
    EXPECT_EQ(namesIn(folder.path()),
              (std::set<std::string>{"Parchly.ini", "victim.txt",
                                     planted.substr(folder.path().string().size() + 1)}));
}

// A link at the file's own name is followed only when it is the user's:
// one made by another user (in a folder others may write) is refused and
// nothing is written. Making a link of another user takes the superuser.
TEST(FileAccess, ALinkOfAnotherUserAtTheFileIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a link of another user takes the superuser";
    const TempFolder folder;
    const std::string path = folder.file("Parchly.ini");
    folder.write("victim.txt", "the victim's own file\n");
    std::filesystem::create_symlink(folder.file("victim.txt"), path);
    ASSERT_EQ(::lchown(path.c_str(), 65534, 65534), 0);

    EXPECT_NE(replaceFileContents(path, "planted\n"), "");
    EXPECT_EQ(test::readFile(folder.file("victim.txt")), "the victim's own file\n");
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"Parchly.ini", "victim.txt"}));
}

// A disk that fills during the write (here: a file size limit, which binds
// the superuser too) and a name held by something that is no file both
// leave the old file whole, no temporary file, and say why.
TEST(FileAccess, AFailedReplacementKeepsTheOldFileAndSaysWhy)
{
    const TempFolder folder;
    const std::string path = folder.file("requirements.csv");
    folder.write("requirements.csv", "the old export\n");
    {
        const test::FileSizeLimit full(4);
        const std::string error = replaceFileContents(path, "a new export that does not fit\n");
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    EXPECT_EQ(test::readFile(path), "the old export\n");
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"requirements.csv"}));

    EXPECT_NE(replaceFileContents("/dev/full", "bytes\n"), "");
    ASSERT_EQ(::mkfifo(folder.file("fifo.csv").c_str(), 0600), 0);
    EXPECT_NE(replaceFileContents(folder.file("fifo.csv"), "bytes\n"), "");
}

// The permissions of a replaced file stay; a new file gets the umask's.
TEST(FileAccess, AReplacedFileKeepsItsPermissions)
{
    const TempFolder folder;
    const std::string path = folder.file("kept.ini");
    folder.write("kept.ini", "old\n");
    ::chmod(path.c_str(), 0640);
    ASSERT_EQ(replaceFileContents(path, "new\n"), "");
    struct stat status { };
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);

    const mode_t previous = ::umask(027);
    const std::string fresh = folder.file("fresh.ini");
    const std::string error = replaceFileContents(fresh, "new\n");
    ::umask(previous);
    ASSERT_EQ(error, "");
    ASSERT_EQ(::stat(fresh.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

// What a killed writer left (old and new temporary names) goes; what a
// running program is writing, and any other file, stays.
TEST(FileAccess, TemporariesOfDeadProcessesAreRemovedAndNoOthers)
{
    const TempFolder folder;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string dead = std::to_string(child);
    const std::string alive = std::to_string(::getppid());
    const std::set<std::string> kept = {"Parchly.ini",
                                        "Parchly.ini." + alive + ".tmp",
                                        "Parchly.ini." + std::to_string(::getpid()) + ".a1b2c3.tmp",
                                        "Parchly.ini.notes.tmp",
                                        "Parchly.ini." + dead + ".toolong.tmp",
                                        "Other.ini." + dead + ".tmp"};
    const std::set<std::string> stale = {"Parchly.ini." + dead + ".tmp",
                                         "Parchly.ini." + dead + ".Xy12Zq.tmp"};
    for (const std::set<std::string>& names : {kept, stale})
        for (const std::string& name : names)
            folder.write(name, "bytes");

    EXPECT_EQ(removeStaleTemporaries(folder.file("Parchly.ini")), 2);
    EXPECT_EQ(namesIn(folder.path()), kept);
}

} // namespace
} // namespace parchly
