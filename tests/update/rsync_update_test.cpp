// The update through rsync against a daemon serving a tree laid out like
// the RFC Editor's text-only module.
#include "update/collection_update.h"
#include "update/folder_snapshot.h"

#include "update_test_support.h"

#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <sstream>

namespace parchly {
namespace {

using test::readFile;
using test::rfcBody;

// The daemon serving the module "module", which every test starts from.
class RsyncUpdateTest : public ::testing::Test {
protected:
    test::TempFolder module;
    test::TempFolder local;
    test::TempFolder programs;
    test::RsyncDaemon daemon{module.path()};
    std::atomic<bool> cancel{false};

    void SetUp() override
    {
        test::writeTree(module.path(),
                        {
                            {"rfc1.txt", rfcBody(1)},
                            {"rfc20.txt", rfcBody(20)},
                            {"rfc9999.txt", rfcBody(9999)},
                            {"rfc-index.txt", test::indexText({1, 20, 9999})},
                            {"bcp/bcp14.txt", "BCP 14\n"},
                            {"std/std1.txt", "STD 1\n"},
                            {"rfc20.pdf", "%PDF-1.4 not text\n"},
                            {"rfc20.html", "<html>RFC 20</html>\n"},
                            {"rfc0042.txt", "a leading zero is no RFC name\n"},
                            {"rfc123456.txt", "six digits are no RFC number\n"},
                            {"README", "about the module\n"},
                        });
        if (!daemon.running())
            GTEST_SKIP() << "no rsync daemon could be started";
    }

    UpdateSummary update(const std::string& source, const std::string& program = "rsync")
    {
        UpdateOptions options;
        options.source = source;
        options.folder = local.path().string();
        options.rsyncProgram = program;
        // An HTTPS fallback that could not be reached fails clearly instead
        // of reaching out of the machine.
        options.indexUrl = "http://127.0.0.1:" + std::to_string(test::freePort()) + "/rfc-index.txt";
        options.rfcFolderUrl = "http://127.0.0.1:1/";
        return updateCollection(options, cancel, {});
    }

    // An rsync that notes the names each transfer asks for, one a line.
    std::string recordingRsync() const
    {
        const std::string path = programs.file("recording-rsync");
        test::writeFile(path,
                        "#!/bin/sh\nfor argument in \"$@\"; do\n  case \"$argument\" in\n"
                        "  --files-from=*) cat \"${argument#--files-from=}\" >> '"
                            + programs.file("asked") + "' ;;\n  esac\ndone\nexec rsync \"$@\"\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
    std::set<std::string> askedFor() const
    {
        std::set<std::string> names;
        std::istringstream lines(readFile(programs.file("asked")));
        for (std::string line; std::getline(lines, line);)
            names.insert(line);
        return names;
    }
};

// Sets the modification time of `path` to `seconds` since 1970.
void setModified(const std::string& path, time_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

time_t modifiedOf(const std::string& path)
{
    struct stat status { };
    ::stat(path.c_str(), &status);
    return status.st_mtime;
}

// The local zone for the length of a test; rsync's listing is in the zone
// of the process that prints it.
class LocalZone {
public:
    explicit LocalZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~LocalZone()
    {
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> m_old;
};

TEST_F(RsyncUpdateTest, FirstSyncBringsOnlyTopLevelRfcFilesAndTheIndex)
{
    const UpdateSummary summary = update(daemon.moduleUrl());
    EXPECT_TRUE(summary.complete()) << summary.text();
    EXPECT_EQ(summary.method, "rsync");
    EXPECT_EQ(test::namesIn(local.path()),
              (std::set<std::string>{"rfc1.txt", "rfc20.txt", "rfc9999.txt", "rfc-index.txt"}));
    EXPECT_EQ(summary.newRfcs, (std::vector<int32_t>{1, 20, 9999}));
    EXPECT_EQ(readFile(local.file("rfc20.txt")), rfcBody(20));
    EXPECT_EQ(summary.countsLine(), "3 new RFCs, 0 replaced, 0 failed");
}

TEST_F(RsyncUpdateTest, SecondSyncAsksForNothingAndLeavesEveryFileUntouched)
{
    ASSERT_TRUE(update(daemon.moduleUrl()).complete());
    const FolderSnapshot before = snapshotRfcFiles(local.path().string());
    const UpdateSummary second = update(daemon.moduleUrl(), recordingRsync());
    EXPECT_TRUE(second.complete()) << second.text();
    EXPECT_TRUE(second.newRfcs.empty());
    EXPECT_TRUE(second.replacedRfcs.empty());
    EXPECT_EQ(askedFor(), std::set<std::string>()) << "a transfer ran with nothing new";
    EXPECT_EQ(snapshotRfcFiles(local.path().string()), before) << "an equal file was written again";
}

TEST_F(RsyncUpdateTest, FileDifferingInSizeOrTimeIsFetchedAndOneEqualInBothIsNot)
{
    // Far from UTC, so that a listing read in the wrong zone would make
    // every file look changed.
    const LocalZone zone("XYZ-5:30");
    ASSERT_TRUE(update(daemon.moduleUrl()).complete());
    const FolderSnapshot before = snapshotRfcFiles(local.path().string());
    // Same size, another time: one letter changed, an hour older.
    std::string sameSize = rfcBody(20);
    sameSize[0] = 'r';
    test::writeFile(local.file("rfc20.txt"), sameSize);
    setModified(local.file("rfc20.txt"), modifiedOf(module.file("rfc20.txt")) - 3600);
    // Same time, another size.
    test::writeFile(local.file("rfc9999.txt"), rfcBody(9999) + "a local line\n");
    setModified(local.file("rfc9999.txt"), modifiedOf(module.file("rfc9999.txt")));

    const UpdateSummary second = update(daemon.moduleUrl(), recordingRsync());
    EXPECT_TRUE(second.complete()) << second.text();
    EXPECT_EQ(askedFor(), (std::set<std::string>{"rfc20.txt", "rfc9999.txt"}));
    EXPECT_EQ(readFile(local.file("rfc20.txt")), rfcBody(20));
    EXPECT_EQ(readFile(local.file("rfc9999.txt")), rfcBody(9999));
    EXPECT_EQ(snapshotRfcFiles(local.path().string()).at(1), before.at(1)) << "the equal file was written";
}

TEST_F(RsyncUpdateTest, ChangedFileOnTheServerIsReplaced)
{
    ASSERT_TRUE(update(daemon.moduleUrl()).complete());
    test::writeFile(module.file("rfc20.txt"), rfcBody(20, 2) + "an erratum fixed\n");
    const UpdateSummary second = update(daemon.moduleUrl());
    EXPECT_EQ(second.replacedRfcs, (std::vector<int32_t>{20}));
    EXPECT_EQ(readFile(local.file("rfc20.txt")), rfcBody(20, 2) + "an erratum fixed\n");
    EXPECT_EQ(second.countsLine(), "0 new RFCs, 1 replaced, 0 failed");
}

TEST_F(RsyncUpdateTest, UsersOwnFilesInTheFolderSurvive)
{
    local.write("my-notes.txt", "mine\n");
    local.write("rfc55555.txt", "a draft of my own, not on the server\n");
    ASSERT_TRUE(update(daemon.moduleUrl()).complete());
    EXPECT_EQ(readFile(local.file("my-notes.txt")), "mine\n");
    EXPECT_EQ(readFile(local.file("rfc55555.txt")), "a draft of my own, not on the server\n");
}

TEST_F(RsyncUpdateTest, CancelLeavesNoPartialFile)
{
    // A bandwidth limit in a wrapper keeps the transfer going long enough
    // to be cancelled in the middle of a file.
    const std::string big = test::noise(3 * 1024 * 1024);
    test::writeFile(module.file("rfc7000.txt"), big);
    const std::string wrapper = local.file("../slow-rsync-" + std::to_string(::getpid()));
    test::writeFile(wrapper, "#!/bin/sh\nexec rsync --bwlimit=256 \"$@\"\n");
    ::chmod(wrapper.c_str(), 0755);
    std::thread canceller([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        cancel = true;
    });
    const UpdateSummary summary = update(daemon.moduleUrl(), wrapper);
    canceller.join();
    std::remove(wrapper.c_str());
    EXPECT_TRUE(summary.cancelled);
    for (const std::string& name : test::namesIn(local.path())) {
        EXPECT_NE(name[0], '.') << name << " was left behind";
        EXPECT_EQ(readFile(local.file(name)), readFile(module.file(name))) << name << " is partial";
    }
    EXPECT_EQ(test::namesIn(local.path()).count("rfc7000.txt"), 0u);
}

TEST_F(RsyncUpdateTest, SymbolicLinkInTheModuleIsRefusedWithAMessage)
{
    std::filesystem::create_symlink("/etc/passwd", module.path() / "rfc666.txt");
    const UpdateSummary summary = update(daemon.moduleUrl());
    EXPECT_EQ(test::namesIn(local.path()).count("rfc666.txt"), 0u);
    ASSERT_EQ(summary.failures.size(), 1u) << summary.text();
    EXPECT_EQ(summary.failures[0].name, "rfc666.txt");
    EXPECT_NE(summary.failures[0].reason.find("symbolic link"), std::string::npos);
    EXPECT_EQ(summary.newRfcs.size(), 3u) << "the other files still arrive";
}

TEST_F(RsyncUpdateTest, FolderNamedLikeAnRfcIsRefusedAndTheLocalFileKept)
{
    std::filesystem::remove(module.path() / "rfc1.txt");
    std::filesystem::create_directories(module.path() / "rfc1.txt" / "inside");
    local.write("rfc1.txt", rfcBody(1));
    const UpdateSummary summary = update(daemon.moduleUrl());
    EXPECT_EQ(readFile(local.file("rfc1.txt")), rfcBody(1));
    ASSERT_EQ(summary.failures.size(), 1u) << summary.text();
    EXPECT_NE(summary.failures[0].reason.find("is a folder"), std::string::npos);
    EXPECT_FALSE(summary.complete());
}

TEST_F(RsyncUpdateTest, FileOverTheSixteenMegabyteLimitIsRefused)
{
    // Sparse: 200 MB listed, nothing written to disk.
    std::filesystem::resize_file(module.path() / "rfc9999.txt", 200u * 1024 * 1024);
    const UpdateSummary summary = update(daemon.moduleUrl());
    EXPECT_EQ(test::namesIn(local.path()).count("rfc9999.txt"), 0u);
    ASSERT_EQ(summary.failures.size(), 1u) << summary.text();
    EXPECT_EQ(summary.failures[0].name, "rfc9999.txt");
    EXPECT_NE(summary.failures[0].reason.find("over the 16 MB"), std::string::npos);
}

TEST_F(RsyncUpdateTest, UnknownModuleFailsWithRsyncsReason)
{
    std::string source = daemon.moduleUrl();
    source.replace(source.find("rfcs-text-only"), 14, "no-such-module");
    const UpdateSummary summary = update(source);
    EXPECT_FALSE(summary.complete());
    EXPECT_NE(summary.problem.find("no-such-module"), std::string::npos) << summary.problem;
    EXPECT_TRUE(test::namesIn(local.path()).empty());
}

} // namespace
} // namespace parchly
