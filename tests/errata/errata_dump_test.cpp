// The "errata" array parchly-analyse --errata adds to a record: each
// erratum of the RFC with its id, status, type, file lines and how it was
// placed; errata of other RFCs are left out.
#include "dumps.h"
#include "errata/errata_file.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(ErrataDump, ListsTheRfcsErrataWithTheirLinesAndHowTheyWerePlaced)
{
    const std::string path = PARCHLY_FIXTURES_DIR "/errata/rfc9999.txt";
    std::optional<LineReader> reader = LineReader::open(path);
    ASSERT_TRUE(reader);
    RfcText text;
    analyseText(text, &*reader, LimitsBlock(), AnalysisOptions());
    const ErrataLoad load = parseErrata(R"([
      {"errata_id": "2", "doc-id": "RFC9999", "errata_status_code": "Verified", "errata_type_code": "Technical",
       "section": "2.2", "orig_text": "keeps their order.  A receiver that sees a message out of order"},
      {"errata_id": "1", "doc-id": "RFC9999", "errata_status_code": "Reported", "errata_type_code": "Editorial",
       "section": "Section 3", "orig_text": "not in the text"},
      {"errata_id": "3", "doc-id": "RFC9998", "errata_status_code": "Verified", "section": "1"},
      {"errata_id": "4", "doc-id": "RFC9999", "errata_status_code": "Held for Document Update",
       "errata_type_code": "Editorial", "section": "GLOBAL", "orig_text": ""}])");
    ASSERT_TRUE(load.complete()) << load.error;
    const Json errata = errataRecord(text, *reader, path, ErrataCatalogue(load.errata));
    const Json expected = Json::parse(R"([
      {"id": "1", "status": "Reported", "type": "Editorial", "firstLine": 64, "lastLine": 64, "placedBy": "section"},
      {"id": "2", "status": "Verified", "type": "Technical", "firstLine": 54, "lastLine": 54, "placedBy": "text"},
      {"id": "4", "status": "Held for Document Update", "type": "Editorial", "firstLine": 0, "lastLine": 0,
       "placedBy": "top"}])");
    EXPECT_EQ(errata, expected) << errata.dump(1);
}

} // namespace
} // namespace parchly
