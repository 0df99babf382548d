#include "settings/profile.h"

#include <array>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/time.h>
#include <unistd.h>

#include "support/file_faults.h"
#include "support/fixture_cases.h"
#include "support/temp_folder.h"

namespace parchly {
namespace {

using test::readFile;
using test::writeFile;

struct Write {
    const char* section;
    const char* key;
    const char* value;
};

class ProfileTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::string path = folder.file("Parchly.ini");
    Profile profile{path};

    // Files in the folder besides the settings' lock file: the settings
    // file alone once no temporary is left.
    long files() const
    {
        long count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            count += entry.path().filename() == "Parchly.ini.lock" ? 0 : 1;
        return count;
    }

    // Each write case's values written (in one batch when `batched`) over
    // its file: every value reads back and the file is the case's `after`.
    void expectWriteCases(bool batched)
    {
        for (const test::FixtureCase& c : test::readFixtureCases("settings/profile-writes.txt")) {
            SCOPED_TRACE(c.title);
            // Each write as its section, key and value.
            std::vector<std::array<std::string, 3>> writes;
            for (const std::string& w : c.items("writes"))
                writes.push_back({w.substr(0, w.find('/')),
                                  w.substr(w.find('/') + 1, w.find('=') - w.find('/') - 1),
                                  w.substr(w.find('=') + 1)});
            writeFile(path, c["before"]);
            {
                auto batch = batched ? std::make_unique<ProfileBatch>(profile) : nullptr;
                for (const auto& [section, key, value] : writes)
                    EXPECT_TRUE(profile.writeString(section, key, value));
                if (batch) {
                    EXPECT_TRUE(batch->commit());
                }
            }
            for (const auto& [section, key, value] : writes)
                EXPECT_EQ(profile.readString(section, key, "lost"), value);
            EXPECT_EQ(readFile(path), c["after"]);
        }
    }
};

// Reading: names match without regard to case and the first match wins;
// integers are the leading signed decimal, held at the int range; malformed
// and foreign files read what can be read. "-" is the default asked for.
TEST_F(ProfileTest, ReadsEachValueAsStored)
{
    for (const test::FixtureCase& c : test::readFixtureCases("settings/profile-reads.txt")) {
        SCOPED_TRACE(c.title);
        writeFile(path, c["file"]);
        EXPECT_EQ(profile.readString(c["section"], c["key"], "-"), c["text"]);
        EXPECT_EQ(profile.readInt(c["section"], c["key"], -1), c.number("number"));
    }
}

// Writing keeps every other line in place with its bytes, line ends and the
// byte-order mark; a lone CR ends a line for reading and writing alike.
// Every value written reads back.
TEST_F(ProfileTest, WritesKeepTheOtherLinesAloneAndReadBack)
{
    expectWriteCases(false);
}

// Writes one by one and in a batch give the same file.
TEST_F(ProfileTest, ABatchWritesWhatTheWritesOneByOneWrite)
{
    expectWriteCases(true);
}

// A missing file is created; values are written without their outer blanks.
TEST_F(ProfileTest, AMissingFileIsCreatedAndValuesLoseTheirOuterBlanks)
{
    std::filesystem::remove(path);
    ASSERT_TRUE(profile.writeString("s", "a", " two "));
    EXPECT_EQ(readFile(path), "[s]\na=two\n");
}

TEST_F(ProfileTest, RefusesWhatCouldNotBeReadBack)
{
    writeFile(path, "[s]\nkey=old\n");
    const Write refused[] = {
        {"s", "key", "two\nlines"}, {"s", "key", "carriage\rreturn"}, {"s", "a=b", "1"}, {"s", "", "1"},
        {"s", "[x]", "1"},          {"bad]name", "key", "1"},         {"  ", "key", "1"}};
    for (const Write& w : refused)
        EXPECT_FALSE(profile.writeString(w.section, w.key, w.value)) << w.key << "=" << w.value;
    EXPECT_EQ(readFile(path), "[s]\nkey=old\n");
}

// Whether alone or in a batch, a write that fails leaves the old file whole,
// no temporary file behind and no value pending.
TEST_F(ProfileTest, AFailedWriteLeavesTheOldFileWhole)
{
    const std::string original = "[s]\nkey=old\n";
    for (bool batched : {false, true}) {
        SCOPED_TRACE(batched ? "batch" : "alone");
        writeFile(path, original);
        {
            // The disk fills: no file may grow past a few bytes.
            const test::FileSizeLimit full(4);
            auto batch = batched ? std::make_unique<ProfileBatch>(profile) : nullptr;
            EXPECT_EQ(profile.writeString("s", "key", "new"), batched);
            EXPECT_EQ(profile.writeString("t", "other", "1"), batched);
            if (batch) {
                EXPECT_FALSE(batch->commit());
                EXPECT_FALSE(batch->commit());
            }
        }
        EXPECT_EQ(readFile(path), original);
        EXPECT_EQ(profile.readString("s", "key", ""), "old");
        EXPECT_EQ(profile.readString("t", "other", "none"), "none");
        EXPECT_EQ(files(), 1) << "no temporary file may be left behind";
        ASSERT_TRUE(profile.writeString("s", "key", "new"));
        EXPECT_EQ(files(), 1) << "no temporary file may be left behind";
    }
}

// A folder where the file should be is neither read nor replaced, nor does
// it take a value into a batch. (It is also how an unreadable file is met:
// permissions do not bind the superuser the tests run as.)
TEST_F(ProfileTest, AFolderAtTheSettingsNameIsNeitherReadNorReplaced)
{
    Profile onFolder(folder.path().string());
    EXPECT_FALSE(onFolder.writeString("s", "key", "new"));
    ProfileBatch batch(onFolder);
    EXPECT_FALSE(onFolder.writeString("s", "key", "new"));
    EXPECT_EQ(onFolder.readString("s", "key", "none"), "none");
    EXPECT_TRUE(batch.commit());
    EXPECT_TRUE(std::filesystem::is_directory(folder.path()));
}

// A file that cannot be read is never replaced blind: that would lose every
// setting it holds. Permissions do not bind the superuser, so this runs
// only for other users.
TEST_F(ProfileTest, AFolderOrFileWithoutPermissionIsLeftAlone)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const std::string original = "[s]\nkey=old\n";
    writeFile(path, original);
    ::chmod(path.c_str(), 0600);

    // A folder that cannot take the temporary file.
    ::chmod(folder.path().c_str(), 0500);
    EXPECT_FALSE(profile.writeString("s", "key", "new"));
    EXPECT_EQ(readFile(path), original);
    ::chmod(folder.path().c_str(), 0700);

    // A file that cannot be read is not overwritten blind.
    ::chmod(path.c_str(), 0200);
    EXPECT_FALSE(profile.writeString("s", "key", "new"));
    EXPECT_EQ(profile.readString("s", "key", "unreadable"), "unreadable");
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(readFile(path), original);
}

// The file replaced is the one linked to, and keeps its permissions.
TEST_F(ProfileTest, TheReplacedFileKeepsItsLinkAndPermissions)
{
    const std::string real = folder.file("real.ini");
    writeFile(real, "[s]\nkey=old\n");
    ::chmod(real.c_str(), 0640);
    std::filesystem::create_symlink(real, path);
    ASSERT_TRUE(profile.writeString("s", "key", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(readFile(real), "[s]\nkey=new\n");
    struct stat status;
    ASSERT_EQ(::stat(real.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

// Two programs writing the same settings file at once: each write reads the
// file afresh under its lock, so neither loses the other's values.
TEST_F(ProfileTest, TwoProgramsWritingAtOnceKeepEveryValue)
{
    constexpr int kWrites = 150;
    const auto writeKeys = [this](const char* prefix) {
        Profile own(path);
        for (int i = 0; i < kWrites; ++i)
            if (!own.writeInt("s", prefix + std::to_string(i), i))
                return false;
        return true;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(writeKeys("child") ? 0 : 1);
    EXPECT_TRUE(writeKeys("parent"));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    Profile fresh(path);
    int kept = 0;
    for (const char* prefix : {"child", "parent"})
        for (int i = 0; i < kWrites; ++i)
            kept += fresh.readInt("s", prefix + std::to_string(i), -1) == i ? 1 : 0;
    EXPECT_EQ(kept, 2 * kWrites);
}

// Values are read from the file as parsed once: an edit that leaves the
// file's identity (inode, size, time) as it was is not seen, and any real
// change is, at the next read.
TEST_F(ProfileTest, ReadsComeFromOneParseUntilTheFileChangesOnDisk)
{
    writeFile(path, "[s]\nkey=one\n");
    EXPECT_EQ(profile.readString("s", "key", ""), "one");
    struct stat before { };
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    {
        std::FILE* file = std::fopen(path.c_str(), "r+b");
        ASSERT_NE(file, nullptr);
        std::fputs("[s]\nkey=two\n", file);
        std::fclose(file);
    }
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(profile.readString("s", "key", ""), "one") << "the same file, parsed once";

    writeFile(path, "[s]\nkey=three, longer\n");
    EXPECT_EQ(profile.readString("s", "key", ""), "three, longer");
    Profile other(path);
    ASSERT_TRUE(other.writeString("s", "key", "four"));
    EXPECT_EQ(profile.readString("s", "key", ""), "four") << "another program's write";
    std::filesystem::remove(path);
    EXPECT_EQ(profile.readString("s", "key", "gone"), "gone");
}

// A FIFO or a device at the settings' name is read as no file and never
// replaced; nothing blocks.
TEST_F(ProfileTest, AFifoOrDeviceAsTheSettingsFileNeitherBlocksNorIsReplaced)
{
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    for (const std::string& name : {path, std::string("/dev/zero")}) {
        SCOPED_TRACE(name);
        Profile special(name);
        EXPECT_EQ(special.readString("s", "key", "default"), "default");
        EXPECT_FALSE(special.writeString("s", "key", "new"));
    }
    struct stat status { };
    ASSERT_EQ(::lstat(path.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

TEST_F(ProfileTest, ABatchWritesTheFileOnceWhenItEnds)
{
    const std::string original = "[settings]\r\nLineWidth=73\r\n; a note\r\n[Default]\r\nfont=Fixedsys\r\n";
    writeFile(path, original);
    {
        ProfileBatch batch(profile);
        ASSERT_TRUE(profile.writeInt("SETTINGS", "linewidth", 80));
        ASSERT_TRUE(profile.writeString("settings", "PageHeight", " 60 "));
        ASSERT_TRUE(profile.writeString("Bookmarks", "BM0", "mark"));
        ASSERT_TRUE(profile.writeString("bookmarks", "bm0", "again"));
        // Reads see the pending values, names matching without regard to case.
        EXPECT_EQ(profile.readInt("Settings", "LINEWIDTH", 0), 80);
        EXPECT_EQ(profile.readString("BOOKMARKS", "BM0", ""), "again");

        // Lines another instance writes meanwhile are kept; the batch's own
        // values win over what it set itself.
        writeFile(path, "[Default]\r\nfont=Courier\r\n[settings]\r\nLineWidth=99\r\nLevel0=5\r\n");
        EXPECT_TRUE(batch.commit());
        EXPECT_TRUE(batch.commit()) << "a second commit repeats the answer";
    }
    EXPECT_EQ(readFile(path),
              "[Default]\r\nfont=Courier\r\n"
              "[settings]\r\nlinewidth=80\r\nLevel0=5\r\nPageHeight=60\r\n"
              "[Bookmarks]\r\nbm0=again\r\n");
    EXPECT_EQ(files(), 1) << "no temporary file may be left behind";

    // After the batch, writes go straight to the file again.
    ASSERT_TRUE(profile.writeString("Default", "font", "Fixedsys"));
    EXPECT_EQ(profile.readString("default", "font", ""), "Fixedsys");
    EXPECT_NE(readFile(path).find("font=Fixedsys"), std::string::npos);
}

TEST_F(ProfileTest, NestedBatchesWriteWhenTheLastEndsAndEmptyOnesWriteNothing)
{
    {
        ProfileBatch empty(profile);
        EXPECT_EQ(profile.readString("s", "key", "none"), "none");
        EXPECT_TRUE(empty.commit());
    }
    EXPECT_FALSE(std::filesystem::exists(path)) << "an empty batch creates no file";

    {
        ProfileBatch outer(profile);
        ASSERT_TRUE(profile.writeString("s", "a", "1"));
        {
            ProfileBatch inner(profile);
            ASSERT_TRUE(profile.writeString("s", "b", "2"));
            EXPECT_TRUE(inner.commit());
        }
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_EQ(profile.readString("s", "b", ""), "2");

        // Whichever batch ends last writes, in whatever order they end.
        auto late = std::make_unique<ProfileBatch>(profile);
        ASSERT_TRUE(profile.writeString("s", "c", "3"));
        EXPECT_TRUE(outer.commit());
        EXPECT_FALSE(std::filesystem::exists(path));
        late.reset();
        EXPECT_EQ(readFile(path), "[s]\na=1\nb=2\nc=3\n");
    }
    EXPECT_EQ(readFile(path), "[s]\na=1\nb=2\nc=3\n") << "the ended outer batch writes nothing more";
}

} // namespace
} // namespace parchly
