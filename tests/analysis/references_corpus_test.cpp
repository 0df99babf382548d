#include "analysis/references.h"

#include "analysis/references_support.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace parchly {
namespace {

// Every RFC of the corpus, analysed whole: its references and citations
// agree with its text, and the RFCs known to cite their references yield
// both.
TEST(ReferencesCorpus, ReferencesAndCitationsAgreeWithTheText)
{
    const std::filesystem::path folder = test::corpusFolder();
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        GTEST_SKIP() << "corpus folder " << folder << " not found";
    const std::set<std::string> citing = {"rfc2616.txt", "rfc3986.txt", "rfc5246.txt",
                                          "rfc6749.txt", "rfc7230.txt", "rfc8446.txt",
                                          "rfc3261.txt", "rfc5661.txt", "rfc7540.txt"};
    const std::regex rfcFileName(R"(rfc\d+\.txt)");
    const std::regex rfcLabel(R"(\[RFC(\d+)\])");
    int analysed = 0;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        const std::string name = item.path().filename().string();
        if (!std::regex_match(name, rfcFileName))
            continue;
        SCOPED_TRACE(name);
        std::ifstream file(item.path(), std::ios::binary);
        const std::string raw{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        RfcText text;
        LineReader reader(raw);
        analyseText(text, &reader, LimitsBlock(), AnalysisOptions());
        test::expectConsistentReferences(text, raw);
        if (citing.count(name) != 0) {
            EXPECT_GE(text.references.size(), 10u);
            EXPECT_GE(text.citations.size(), 10u);
        }
        // An entry labelled with an RFC number names that RFC after its title
        // (RFC 2324 itself misprints one).
        int labelled = 0;
        int agreeing = 0;
        for (const ReferenceEntry& reference : text.references) {
            std::smatch number;
            if (std::regex_match(reference.label, number, rfcLabel) && !reference.title.empty()) {
                ++labelled;
                agreeing += reference.rfc == std::atoi(number[1].str().c_str());
            }
        }
        EXPECT_LE(labelled - agreeing, std::max(1, labelled / 10)) << agreeing << " of " << labelled;
        ++analysed;
    }
    EXPECT_GT(analysed, 0);
}

} // namespace
} // namespace parchly
