#include "settings/profile.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "support/temp_folder.h"

namespace parchly {
namespace {

using test::readFile;
using test::writeFile;

class ProfileTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::string path = folder.file("Parchly.ini");
    Profile profile{path};
};

TEST_F(ProfileTest, NamesMatchWithoutRegardToCaseAndTheFirstMatchWins)
{
    writeFile(path, "[Settings]\n"
                    "LineWidth=80\n"
                    "linewidth=90\n"
                    "[Default]\n"
                    "font=Courier\n"
                    "[SETTINGS]\n"
                    "PageHeight=60\n");
    EXPECT_EQ(profile.readString("settings", "LINEWIDTH", "x"), "80");
    EXPECT_EQ(profile.readString("default", "Font", "x"), "Courier");
    // Only the first of two sections with the same name is consulted.
    EXPECT_EQ(profile.readString("settings", "PageHeight", "none"), "none");
    // A key belongs to its own section only.
    EXPECT_EQ(profile.readString("Default", "LineWidth", "none"), "none");
    EXPECT_EQ(profile.path(), path);
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(profile.readString("settings", "key", "fallback"), "fallback");
    EXPECT_EQ(profile.readInt("settings", "key", -7), -7);
    writeFile(path, "[settings]\nother=1\n");
    EXPECT_EQ(profile.readString("settings", "key", "fallback"), "fallback");
    EXPECT_EQ(profile.readString("elsewhere", "other", "fallback"), "fallback");
    EXPECT_EQ(profile.readInt("settings", "key", 42), 42);
}

TEST_F(ProfileTest, IntegersAreTheLeadingSignedDecimal)
{
    writeFile(path, "[s]\n"
                    "plain=12\n"
                    "negative=-34abc\n"
                    "plus=+5\n"
                    "words=abc\n"
                    "empty=\n"
                    "huge=99999999999999999999\n"
                    "tiny=-99999999999999999999\n"
                    "spaced= 7 8\n");
    EXPECT_EQ(profile.readInt("s", "plain", 0), 12);
    EXPECT_EQ(profile.readInt("s", "negative", 0), -34);
    EXPECT_EQ(profile.readInt("s", "plus", 0), 5);
    EXPECT_EQ(profile.readInt("s", "words", 9), 0);
    EXPECT_EQ(profile.readInt("s", "empty", 9), 0);
    EXPECT_EQ(profile.readInt("s", "huge", 0), INT_MAX);
    EXPECT_EQ(profile.readInt("s", "tiny", 0), INT_MIN);
    EXPECT_EQ(profile.readInt("s", "spaced", 0), 7);
}

TEST_F(ProfileTest, ReadsMalformedAndForeignFiles)
{
    const std::string longValue(5000, 'v');
    writeFile(path, "\xEF\xBB\xBF[first]\r\n"
                    "stray line without equals\r\n"
                    "\r\n"
                    "  spaced key  =  spaced value  \r\n"
                    "=no key\r\n"
                    "eq=a=b\r\n"
                    "long=" + longValue + "\r\n"
                    "[ second \r\n"
                    "\tlast=end");
    EXPECT_EQ(profile.readString("first", "spaced key", ""), "spaced value");
    EXPECT_EQ(profile.readString("first", "eq", ""), "a=b");
    EXPECT_EQ(profile.readString("first", "long", ""), longValue);
    EXPECT_EQ(profile.readString("first", "stray line without equals", "none"), "none");
    // A header without its closing bracket still opens a section.
    EXPECT_EQ(profile.readString("second", "last", ""), "end");

    writeFile(path, "orphan=1\n[s]\nkey=2\n");
    EXPECT_EQ(profile.readString("s", "orphan", "none"), "none");
    EXPECT_EQ(profile.readString("", "orphan", "none"), "none");
}

TEST_F(ProfileTest, WritingKeepsEveryOtherLineInPlace)
{
    writeFile(path, "; comment at the top\n"
                    "[settings]\n"
                    "LineWidth=73\n"
                    "; a note\n"
                    "Level0=500\n"
                    "\n"
                    "[Default]\n"
                    "font=Fixedsys\n");
    ASSERT_TRUE(profile.writeInt("SETTINGS", "level0", 400));
    ASSERT_TRUE(profile.writeString("settings", "ShowPageSeparator", "1"));
    ASSERT_TRUE(profile.writeString("Bookmarks", "BM0", ""));
    ASSERT_TRUE(profile.writeString("default", "font", "Courier New"));
    EXPECT_EQ(readFile(path), "; comment at the top\n"
                              "[settings]\n"
                              "LineWidth=73\n"
                              "; a note\n"
                              "level0=400\n"
                              "ShowPageSeparator=1\n"
                              "\n"
                              "[Default]\n"
                              "font=Courier New\n"
                              "[Bookmarks]\n"
                              "BM0=\n");
    EXPECT_EQ(profile.readString("bookmarks", "bm0", "none"), "");
}

TEST_F(ProfileTest, WritingCreatesTheFileAndKeepsLineEndsAndMark)
{
    ASSERT_TRUE(profile.writeString("settings", "a", "1"));
    ASSERT_TRUE(profile.writeString("settings", "b", " two "));
    EXPECT_EQ(readFile(path), "[settings]\na=1\nb=two\n");

    writeFile(path, "\xEF\xBB\xBF[s]\r\nkey=old\r\nlast=x");
    ASSERT_TRUE(profile.writeString("s", "key", "new"));
    ASSERT_TRUE(profile.writeString("s", "added", "y"));
    ASSERT_TRUE(profile.writeString("t", "z", "3"));
    EXPECT_EQ(readFile(path), "\xEF\xBB\xBF[s]\r\nkey=new\r\nlast=x\r\nadded=y\r\n[t]\r\nz=3\r\n");
}

// A lone CR ends a line for reading and writing alike: every value written
// reads back, writes one by one and in a batch give the same file, and the
// lines not written keep their bytes.
TEST_F(ProfileTest, LoneCarriageReturnsEndLinesForReadingAndWriting)
{
    struct Write {
        const char* section;
        const char* key;
        const char* value;
    };
    const struct {
        std::string before;
        std::vector<Write> writes;
        std::string after;
    } cases[] = {
        {"[a\r", {{"a", "k", "1"}}, "[a\rk=1\r"},
        {"[a\r", {{"a", "k", "1"}, {"a", "j", "2"}}, "[a\rk=1\rj=2\r"},
        {"[a]\rx=1\r\n\n", {{"a", "k", "2"}}, "[a]\rx=1\r\nk=2\r\n\n"},
        {"x\r[a]\n\n", {{"a", "k", "1"}, {"b", "m", "3"}}, "x\r[a]\nk=1\n\n[b]\nm=3\n"},
        {"[a]\r\n\rk=old\r", {{"a", "k", "new"}}, "[a]\r\n\rk=new\r"},
    };
    const std::string batchedPath = folder.file("batched.ini");
    Profile batchedProfile(batchedPath);
    for (const auto& c : cases) {
        writeFile(path, c.before);
        writeFile(batchedPath, c.before);
        {
            ProfileBatch batch(batchedProfile);
            for (const Write& w : c.writes) {
                EXPECT_TRUE(profile.writeString(w.section, w.key, w.value));
                EXPECT_TRUE(batchedProfile.writeString(w.section, w.key, w.value));
            }
            EXPECT_TRUE(batch.commit());
        }
        for (const Write& w : c.writes) {
            EXPECT_EQ(profile.readString(w.section, w.key, "lost"), w.value) << c.before;
            EXPECT_EQ(batchedProfile.readString(w.section, w.key, "lost"), w.value) << c.before;
        }
        EXPECT_EQ(readFile(path), c.after);
        EXPECT_EQ(readFile(batchedPath), c.after);
    }
}

TEST_F(ProfileTest, RefusesWhatCouldNotBeReadBack)
{
    writeFile(path, "[s]\nkey=old\n");
    EXPECT_FALSE(profile.writeString("s", "key", "two\nlines"));
    EXPECT_FALSE(profile.writeString("s", "key", "carriage\rreturn"));
    EXPECT_FALSE(profile.writeString("s", "a=b", "1"));
    EXPECT_FALSE(profile.writeString("s", "", "1"));
    EXPECT_FALSE(profile.writeString("s", "[x]", "1"));
    EXPECT_FALSE(profile.writeString("bad]name", "key", "1"));
    EXPECT_FALSE(profile.writeString("  ", "key", "1"));
    EXPECT_EQ(readFile(path), "[s]\nkey=old\n");
}

TEST_F(ProfileTest, AFailedWriteLeavesTheOldFileWhole)
{
    const std::string original = "[s]\nkey=old\n";
    writeFile(path, original);
    // The temporary file beside the settings file cannot be created.
    const std::string temporary = path + "." + std::to_string(::getpid()) + ".tmp";
    std::filesystem::create_directory(temporary);
    EXPECT_FALSE(profile.writeString("s", "key", "new"));
    EXPECT_EQ(readFile(path), original);
    std::filesystem::remove(temporary);

    ASSERT_TRUE(profile.writeString("s", "key", "new"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1) << "no temporary file may be left behind";
    EXPECT_EQ(profile.readString("s", "key", ""), "new");

    // A folder where the file should be is neither read nor replaced.
    Profile onFolder(folder.path().string());
    EXPECT_EQ(onFolder.readString("s", "key", "none"), "none");
    EXPECT_FALSE(onFolder.writeString("s", "key", "new"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path()));
}

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

TEST_F(ProfileTest, TheReplacedFileKeepsItsPermissions)
{
    writeFile(path, "[s]\nkey=old\n");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(profile.writeString("s", "key", "new"));
    struct stat status;
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(ProfileTest, WritingThroughALinkUpdatesTheLinkedFile)
{
    const std::string real = folder.file("real.ini");
    writeFile(real, "[s]\nkey=old\n");
    std::filesystem::create_symlink(real, path);
    ASSERT_TRUE(profile.writeString("s", "key", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(readFile(real), "[s]\nkey=new\n");
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
        // Refused values are refused as outside a batch and leave the rest.
        EXPECT_FALSE(profile.writeString("settings", "bad", "two\nlines"));
        EXPECT_EQ(readFile(path), original);
        // Reads see the pending values, names matching without regard to case.
        EXPECT_EQ(profile.readInt("Settings", "LINEWIDTH", 0), 80);
        EXPECT_EQ(profile.readString("settings", "pageheight", ""), "60");
        EXPECT_EQ(profile.readString("BOOKMARKS", "BM0", ""), "again");
        EXPECT_EQ(profile.readString("default", "font", ""), "Fixedsys");
        EXPECT_EQ(profile.readString("settings", "bad", "none"), "none");

        // Lines another instance writes meanwhile are kept; the batch's own
        // values win over what it set itself.
        writeFile(path, "[Default]\r\nfont=Courier\r\n[settings]\r\nLineWidth=99\r\nLevel0=5\r\n");
        EXPECT_TRUE(batch.commit());
        EXPECT_TRUE(batch.commit()) << "a second commit repeats the answer";
    }
    EXPECT_EQ(readFile(path), "[Default]\r\nfont=Courier\r\n"
                              "[settings]\r\nlinewidth=80\r\nLevel0=5\r\nPageHeight=60\r\n"
                              "[Bookmarks]\r\nbm0=again\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1) << "no temporary file may be left behind";

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

TEST_F(ProfileTest, AFailedBatchLeavesTheOldFileWhole)
{
    const std::string original = "[s]\nkey=old\n";
    writeFile(path, original);
    const std::string temporary = path + "." + std::to_string(::getpid()) + ".tmp";
    std::filesystem::create_directory(temporary);
    {
        ProfileBatch batch(profile);
        ASSERT_TRUE(profile.writeString("s", "key", "new"));
        ASSERT_TRUE(profile.writeString("t", "other", "1"));
        EXPECT_FALSE(batch.commit());
        EXPECT_FALSE(batch.commit());
    }
    EXPECT_EQ(readFile(path), original);
    // The values that could not be written are not left pending either.
    EXPECT_EQ(profile.readString("s", "key", ""), "old");
    EXPECT_EQ(profile.readString("t", "other", "none"), "none");
    std::filesystem::remove(temporary);

    // A file that cannot be read takes no value into a batch.
    Profile onFolder(folder.path().string());
    ProfileBatch batch(onFolder);
    EXPECT_FALSE(onFolder.writeString("s", "key", "new"));
    EXPECT_EQ(onFolder.readString("s", "key", "none"), "none");
    EXPECT_TRUE(batch.commit());
    EXPECT_TRUE(std::filesystem::is_directory(folder.path()));
}

} // namespace
} // namespace parchly
