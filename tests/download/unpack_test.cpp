// Unpacking a downloaded collection: only RFC files land in the RFC folder,
// nothing is written outside it, a cut archive or a cancel leaves no damaged
// file and no temporary one, and the archive goes only when asked to.
#include "download/unpack_archive.h"
#include "download_test_support.h"

#include <gtest/gtest.h>

#include <limits>
#include <sys/sysmacros.h>

namespace parchly {
namespace {

using test::ArchiveEntry;
using test::ArchiveFormat;
using Names = std::set<std::string>;

const std::atomic<bool> kGoOn{false};

const char* formatName(ArchiveFormat format)
{
    return format == ArchiveFormat::Zip ? "zip" : format == ArchiveFormat::Tar ? "tar" : "tar.gz";
}

// A root holding the RFC folder "rfcs" and, beside it, the archive's name.
class UnpackIntoRfcFolder : public ::testing::Test {
protected:
    UnpackIntoRfcFolder() { std::filesystem::create_directory(root.path() / "rfcs"); }

    test::TempFolder root;
    const std::string folder = root.file("rfcs/"), archivePath = root.file("RFC-all");
};

// The RFC folder holding an old rfc1.txt beside an archive of RFCs, other
// files and unsafe entries (also a hard link where the format has them).
class UnpackTest : public UnpackIntoRfcFolder, public ::testing::WithParamInterface<ArchiveFormat> {
protected:
    void SetUp() override
    {
        test::writeFile(folder + "rfc1.txt", "old");
        std::vector<ArchiveEntry> entries = {
            {"rfc1.txt", "RFC 1 as published"},
            {"in-notes/rfc-index.txt", "the index"},
            {"RFC-all/rfc10036.txt", "RFC 10036"},
            {"../x.txt", "escaped"},
            {"/abs/rfc2.txt", "absolute"},
            {"rfc3.txt", "/etc/passwd", ArchiveEntry::Symlink},
            {"sub/../../rfc6.txt", "escaped through a folder"},
            {"sub/rfc4.txt", "RFC 4"},
        };
        for (const char* name : {"notes.txt", "rfc0791.txt", "rfc123456.txt", "rfc.txt", "rfc12a.txt",
                                 "rfc12.txt.gz", "rfc12.pdf", "xrfc1.txt", "RFC1.TXT"})
            entries.push_back({name, "not an RFC"});
        if (GetParam() != ArchiveFormat::Zip)
            entries.push_back({"rfc5.txt", "rfc1.txt", ArchiveEntry::Hardlink});
        ASSERT_TRUE(test::writeArchive(archivePath, GetParam(), entries));
    }
};

INSTANTIATE_TEST_SUITE_P(Formats, UnpackTest, ::testing::Values(ArchiveFormat::Zip, ArchiveFormat::TarGz),
                         [](const auto& info) { return info.param == ArchiveFormat::Zip ? "Zip" : "TarGz"; });

// An RFC is "rfc" with 1 to 5 digits without leading zeros, as the program
// opens it, or the index; a folder part is dropped.
TEST_P(UnpackTest, OnlyRfcFilesLandInTheFolderWithTheirText)
{
    const UnpackResult result = unpackRfcArchive(archivePath, folder, kGoOn, {});
    EXPECT_EQ(result.outcome, UnpackOutcome::Complete) << result.error;
    EXPECT_EQ(result.unpacked, 4);
    EXPECT_EQ(result.skipped, 9);
    EXPECT_EQ(test::namesIn(folder), (Names{"rfc-index.txt", "rfc1.txt", "rfc10036.txt", "rfc4.txt"}));
    EXPECT_EQ(test::readFile(folder + "rfc1.txt"), "RFC 1 as published");
    EXPECT_EQ(test::readFile(folder + "rfc4.txt"), "RFC 4");
}

TEST_P(UnpackTest, UnsafeEntriesAreRefusedAndNothingLandsOutsideTheFolder)
{
    Names refused = {"../x.txt", "/abs/rfc2.txt", "rfc3.txt", "sub/../../rfc6.txt"};
    if (GetParam() != ArchiveFormat::Zip)
        refused.insert("rfc5.txt");
    const UnpackResult result = unpackRfcArchive(archivePath, folder, kGoOn, {});
    EXPECT_EQ(Names(result.refused.begin(), result.refused.end()), refused);
    EXPECT_EQ(test::namesIn(root.path()), (Names{"RFC-all", "rfcs"}));
    EXPECT_FALSE(std::filesystem::is_symlink(folder + "rfc3.txt"));
}

// Fetched again, a file that holds the same bytes is left in place.
TEST_P(UnpackTest, AFileHoldingTheSameBytesIsLeftInPlace)
{
    ASSERT_EQ(unpackRfcArchive(archivePath, folder, kGoOn, {}).unpacked, 4);
    struct stat before = {};
    struct stat after = {};
    ASSERT_EQ(::stat((folder + "rfc1.txt").c_str(), &before), 0);
    EXPECT_EQ(unpackCollection(archivePath, folder, true, kGoOn, {}).unpacked, 4);
    ASSERT_EQ(::stat((folder + "rfc1.txt").c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

// The archive goes after a complete unpack unless it is kept.
TEST_P(UnpackTest, TheArchiveGoesAfterACompleteUnpackUnlessKept)
{
    for (bool keep : {true, false}) {
        EXPECT_EQ(unpackCollection(archivePath, folder, keep, kGoOn, {}).outcome, UnpackOutcome::Complete);
        EXPECT_EQ(std::filesystem::exists(archivePath), keep);
    }
}

// A cut archive replaces no file and leaves no temporary one; it keeps the
// archive; the index before the cut may have landed.
TEST(Unpack, ACutArchiveDamagesNoFileAndKeepsTheArchive)
{
    for (const ArchiveFormat format : {ArchiveFormat::Tar, ArchiveFormat::Zip}) {
        SCOPED_TRACE(formatName(format));
        test::TempFolder folder;
        const std::string archivePath = folder.file("RFC-all.zip");
        test::writeFile(folder.file("rfc1.txt"), "old");
        ASSERT_TRUE(test::writeArchive(archivePath, format,
                                       {{"rfc-index.txt", "the index"}, {"rfc1.txt", test::noise(200000)}}));
        std::filesystem::resize_file(archivePath, std::filesystem::file_size(archivePath) * 6 / 10);
        const UnpackResult result = unpackCollection(archivePath, folder.file(""), false, kGoOn, {});
        EXPECT_EQ(result.outcome, UnpackOutcome::Failed);
        EXPECT_FALSE(result.error.empty());
        EXPECT_TRUE(test::readFile(folder.file("rfc1.txt")) == "old") << "replaced by a cut copy";
        Names names = test::namesIn(folder.path());
        names.erase("rfc-index.txt");
        EXPECT_EQ(names, (Names{"RFC-all.zip", "rfc1.txt"}));
    }
}

// A cancel stops after the files so far and keeps the archive.
TEST(Unpack, ACancelStopsAfterTheFilesSoFarAndKeepsTheArchive)
{
    test::TempFolder folder;
    const std::string archivePath = folder.file("RFC-all.tar.gz");
    std::vector<ArchiveEntry> entries;
    for (int n = 1; n <= 10; ++n)
        entries.push_back({"rfc" + std::to_string(n) + ".txt", test::noise(150000)});
    ASSERT_TRUE(test::writeArchive(archivePath, ArchiveFormat::TarGz, entries));
    std::atomic<bool> cancel{false};
    std::vector<int> percents;
    const UnpackResult result =
        unpackCollection(archivePath, folder.file(""), false, cancel, [&](const UnpackProgress& progress) {
            percents.push_back(progress.percent());
            cancel = progress.unpacked == 3;
        });
    EXPECT_EQ(result.outcome, UnpackOutcome::Cancelled);
    EXPECT_EQ(result.unpacked, 3);
    EXPECT_EQ(test::namesIn(folder.path()), (Names{"RFC-all.tar.gz", "rfc1.txt", "rfc2.txt", "rfc3.txt"}));
    ASSERT_EQ(percents.size(), 3u);
    EXPECT_TRUE(percents[0] > 0 && percents[0] < percents[2] && percents[2] < 100) << percents[2];
}

// A zip bomb made here: entries of zeros that compress to almost nothing.
// An entry beyond the reader's own limit is refused; the whole unpack stops,
// saying why, at its total or at the disk's free space less the margin.
TEST_F(UnpackIntoRfcFolder, AZipBombIsStoppedPerEntryAndInTotal)
{
    const std::string zeros(1024 * 1024, '\0');
    for (const ArchiveFormat format : {ArchiveFormat::Zip, ArchiveFormat::TarGz}) {
        SCOPED_TRACE(formatName(format));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directory(folder);
        std::vector<ArchiveEntry> entries = {{"rfc1.txt", std::string(kTextFileSizeLimit + 1, '\0')}};
        for (int n = 2; n <= 9; ++n)
            entries.push_back({"rfc" + std::to_string(n) + ".txt", zeros});
        ASSERT_TRUE(test::writeArchive(archivePath, format, entries));
        ASSERT_LT(std::filesystem::file_size(archivePath), 200000u) << "a bomb: small outside, large inside";

        const UnpackResult whole = unpackRfcArchive(archivePath, folder, kGoOn, {});
        EXPECT_EQ(whole.outcome, UnpackOutcome::Complete) << whole.error;
        EXPECT_EQ(whole.refused, std::vector<std::string>{"rfc1.txt"});
        EXPECT_EQ(whole.unpacked, 8);

        std::filesystem::remove_all(folder);
        std::filesystem::create_directory(folder);
        UnpackLimits limits;
        limits.totalBytes = 3 * zeros.size() + 10;
        const UnpackResult capped = unpackRfcArchive(archivePath, folder, kGoOn, {}, limits);
        EXPECT_EQ(capped.outcome, UnpackOutcome::Failed);
        EXPECT_NE(capped.error.find("more than 3 MB"), std::string::npos) << capped.error;
        EXPECT_EQ(test::namesIn(folder), (Names{"rfc2.txt", "rfc3.txt", "rfc4.txt"}));

        limits = UnpackLimits();
        limits.freeSpaceMargin = std::numeric_limits<uint64_t>::max();
        const UnpackResult noRoom = unpackRfcArchive(archivePath, folder, kGoOn, {}, limits);
        EXPECT_EQ(noRoom.outcome, UnpackOutcome::Failed);
        EXPECT_NE(noRoom.error.find("free space"), std::string::npos) << noRoom.error;
    }
}

// A folder, a FIFO or a device under an RFC's name in the RFC folder is the
// user's: that entry is refused, the rest unpacks, and nothing blocks on
// the FIFO (a comparison with it once waited for a writer for good).
TEST_F(UnpackIntoRfcFolder, AFolderFifoOrDeviceInTheWayRefusesOnlyItsEntry)
{
    std::filesystem::create_directory(folder + "rfc8.txt");
    ASSERT_EQ(::mkfifo((folder + "rfc10.txt").c_str(), 0600), 0);
    Names refused = {"rfc8.txt", "rfc10.txt"};
    std::vector<ArchiveEntry> entries = {
        {"rfc8.txt", "RFC 8"}, {"rfc10.txt", "RFC 10"}, {"rfc11.txt", "RFC 11"}};
    // A device takes the superuser to make.
    if (::mknod((folder + "rfc12.txt").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) {
        entries.push_back({"rfc12.txt", "RFC 12"});
        refused.insert("rfc12.txt");
    }
    ASSERT_TRUE(test::writeArchive(archivePath, ArchiveFormat::TarGz, entries));

    const UnpackResult result = unpackRfcArchive(archivePath, folder, kGoOn, {});
    EXPECT_EQ(result.outcome, UnpackOutcome::Complete) << result.error;
    EXPECT_EQ(result.unpacked, 1);
    EXPECT_EQ(Names(result.refused.begin(), result.refused.end()), refused);
    EXPECT_EQ(test::readFile(folder + "rfc11.txt"), "RFC 11");
    EXPECT_TRUE(std::filesystem::is_directory(folder + "rfc8.txt"));
    EXPECT_TRUE(std::filesystem::is_fifo(folder + "rfc10.txt"));
}

// An empty file is no collection: the unpack fails and the file stays,
// instead of "complete, 0 files" and the file deleted.
TEST(Unpack, AnEmptyArchiveFailsAndIsKept)
{
    test::TempFolder folder;
    const std::string archivePath = folder.file("RFC-all.zip");
    test::writeFile(archivePath, "");
    const UnpackResult result = unpackCollection(archivePath, folder.file(""), false, kGoOn, {});
    EXPECT_EQ(result.outcome, UnpackOutcome::Failed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(std::filesystem::exists(archivePath));
}

} // namespace
} // namespace parchly
