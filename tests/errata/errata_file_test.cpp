// Reading errata.json: the records as the RFC Editor writes them, and what
// a broken download or a hand edit leaves: the errata that can be read are
// kept, and what cannot is said in words.
#include "errata/errata_catalogue.h"
#include "errata/errata_file.h"
#include "support/fixture_cases.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>

namespace parchly {
namespace {

// Two records as the RFC Editor writes them, the second's verifier null.
std::string twoRecords()
{
    return test::readFixture("errata/two-records.json");
}

TEST(ErrataFile, ReadsEveryFieldOfARecord)
{
    const ErrataLoad load = parseErrata(twoRecords());
    ASSERT_TRUE(load.complete()) << load.error;
    ASSERT_EQ(load.errata.size(), 2u);
    const Erratum& first = load.errata[0];
    EXPECT_EQ(first.id, "184");
    EXPECT_EQ(first.rfc, 4122);
    EXPECT_EQ(first.status, "Verified");
    EXPECT_EQ(first.type, "Editorial");
    EXPECT_EQ(first.section, "4.3");
    EXPECT_EQ(first.originalText, "with (very high probability).");
    EXPECT_EQ(first.correctedText, "(with very high probability).");
    EXPECT_EQ(first.notes, "Brackets.");
    EXPECT_EQ(first.submitDate, "2006-05-03");
    EXPECT_EQ(first.submitter, "T. W.");
    EXPECT_EQ(first.verifier, "A. M.");
    EXPECT_EQ(first.updateDate, "2019-09-10 16:09:03");
    EXPECT_EQ(load.errata[1].verifier, ""); // null
}

// A record as "id|rfc|section|status|original text".
std::string summary(const Erratum& e)
{
    return e.id + "|" + std::to_string(e.rfc) + "|" + e.section + "|" + e.status + "|" + e.originalText;
}

TEST(ErrataFile, UnusualFilesReadWhole)
{
    for (const test::FixtureCase& c : test::readFixtureCases("errata/whole-files.txt")) {
        SCOPED_TRACE(c.title);
        const ErrataLoad load = parseErrata(c["json"]);
        EXPECT_TRUE(load.complete()) << load.error;
        std::vector<std::string> records;
        for (const Erratum& erratum : load.errata)
            records.push_back(summary(erratum));
        EXPECT_EQ(records, c.items("records"));
        EXPECT_EQ(load.skipped, std::size_t(c.number("skipped")));
    }
}

// A file that does not read whole: its name, its text made from the two
// records, how many of them it keeps (the first, when 1) and the words the
// error says.
struct DamagedFile {
    const char* name;
    std::function<std::string(const std::string&)> json;
    std::size_t kept;
    std::vector<const char*> said;
};

class ErrataFileDamaged : public ::testing::TestWithParam<DamagedFile> { };

TEST_P(ErrataFileDamaged, KeepsTheRecordsBeforeTheDamageAndSaysWhy)
{
    const DamagedFile& c = GetParam();
    const ErrataLoad load = parseErrata(c.json(twoRecords()));
    EXPECT_FALSE(load.complete());
    ASSERT_EQ(load.errata.size(), c.kept);
    if (c.kept == 1) {
        EXPECT_EQ(load.errata[0].id, "184");
    }
    for (const char* words : c.said)
        EXPECT_NE(load.error.find(words), std::string::npos) << load.error;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ErrataFileDamaged,
    ::testing::Values(
        DamagedFile{"CutShort",
                    [](const std::string& whole) { return whole.substr(0, whole.find("\"316\"") + 10); },
                    1,
                    {"cut short", "errata.json"}},
        DamagedFile{"DamagedInTheMiddle",
                    [](std::string whole) { return whole.replace(whole.find("\"316\""), 5, "\"316\" :"); },
                    1,
                    {"damaged at byte"}},
        DamagedFile{"NotJson",
                    [](const std::string&) { return "<html><body>502 Bad Gateway</body></html>"; },
                    0,
                    {"not a JSON file"}},
        DamagedFile{"Empty", [](const std::string&) { return "  \n"; }, 0, {"empty"}},
        DamagedFile{"ObjectWithoutErrata",
                    [](const std::string&) { return R"({"status": "ok", "count": 3})"; },
                    0,
                    {"holds no errata"}}),
    [](const ::testing::TestParamInfo<DamagedFile>& info) { return info.param.name; });

TEST(ErrataFile, FileTooLargeRefusedUnread)
{
    const test::TempFolder folder;
    const std::string path = folder.file("errata.json");
    {
        std::ofstream(path) << twoRecords();
    }
    // A sparse file of 200 MB: no disk is used for it.
    std::filesystem::resize_file(path, 200ull * 1024 * 1024);
    const ErrataLoad load = readErrataFile(path);
    EXPECT_FALSE(load.complete());
    EXPECT_TRUE(load.errata.empty());
    EXPECT_NE(load.error.find("200 MB"), std::string::npos) << load.error;
    EXPECT_NE(load.error.find("not read"), std::string::npos) << load.error;
}

TEST(ErrataFile, MissingFileSaysItCannotBeRead)
{
    const test::TempFolder folder;
    const ErrataLoad load = readErrataFile(folder.file("errata.json"));
    EXPECT_FALSE(load.complete());
    EXPECT_NE(load.error.find("cannot be read"), std::string::npos) << load.error;
}

TEST(ErrataFile, DocIdsNameTheirRfc)
{
    for (const test::FixtureCase& c : test::readFixtureCases("errata/doc-ids.txt")) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(rfcNumberOfDocId(c["doc-id"]), c.number("rfc"));
    }
}

Erratum erratumOf(int32_t rfc, const char* id, const char* status)
{
    Erratum erratum;
    erratum.rfc = rfc;
    erratum.id = id;
    erratum.status = status;
    return erratum;
}

TEST(ErrataCatalogue, ErrataOfOneRfcInIdOrder)
{
    const ErrataCatalogue catalogue({erratumOf(793, "1000", "Verified"), erratumOf(791, "5", "Verified"),
                                     erratumOf(793, "999", "Reported"), erratumOf(7930, "1", "Verified")});
    const std::vector<Erratum> errata = catalogue.errataOf(793);
    ASSERT_EQ(errata.size(), 2u);
    EXPECT_EQ(errata[0].id, "999");
    EXPECT_EQ(errata[1].id, "1000");
    EXPECT_TRUE(catalogue.errataOf(1).empty());
}

TEST(ErrataCatalogue, CountsTextLeavesRejectedOut)
{
    const std::vector<Erratum> errata = {
        erratumOf(1, "1", "Verified"), erratumOf(1, "2", "Verified"), erratumOf(1, "3", "Verified"),
        erratumOf(1, "4", "Held for Document Update"), erratumOf(1, "5", "Rejected")};
    EXPECT_EQ(errataCountsText(errata), "3 verified, 1 held");
    EXPECT_EQ(errataCountsText({erratumOf(1, "5", "Rejected")}), "");
    EXPECT_EQ(errataCountsText({erratumOf(1, "6", "Reported")}), "1 reported");
}

} // namespace
} // namespace parchly
