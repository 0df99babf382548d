// The requirements CSV: whatever the sentences and titles hold, the file
// reads back by RFC 4180 into one row per requirement with every field as
// written, and no cell begins with a character a spreadsheet takes for a
// formula ("=", "+", "-", "@", tab, CR); such a text reads back with the
// apostrophe that keeps it text.
//
// Input: requirements separated by \x01, each its section number, section
// title, keyword and sentence separated by NULs.
#include "analysis/requirements_csv.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace parchly;

bool opensFormula(const std::string& cell)
{
    return !cell.empty() && std::string("=+-@\t\r").find(cell.front()) != std::string::npos;
}

// RFC 4180, strictly: rows end in CR LF, a field is quoted with its quotes
// doubled or holds no comma, quote, CR or LF. False for anything else.
bool parseCsv(const std::string& text, std::vector<std::vector<std::string>>& rows)
{
    std::size_t at = 0;
    while (at < text.size()) {
        std::vector<std::string> row;
        for (;;) {
            std::string field;
            if (at < text.size() && text[at] == '"') {
                ++at;
                for (;;) {
                    if (at >= text.size())
                        return false;
                    if (text[at] == '"') {
                        if (at + 1 < text.size() && text[at + 1] == '"') {
                            field += '"';
                            at += 2;
                            continue;
                        }
                        ++at;
                        break;
                    }
                    field += text[at++];
                }
            } else {
                while (at < text.size() && text[at] != ',' && text[at] != '\r' && text[at] != '\n') {
                    if (text[at] == '"')
                        return false;
                    field += text[at++];
                }
            }
            row.push_back(field);
            if (at < text.size() && text[at] == ',') {
                ++at;
                continue;
            }
            if (text.compare(at, 2, "\r\n") != 0)
                return false;
            at += 2;
            break;
        }
        rows.push_back(row);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16384)
        return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    RfcText text;
    text.rfcNumber = 9000;
    for (const std::string& record : fuzz::split(input, '\x01')) {
        std::vector<std::string> fields = fuzz::split(record, '\0');
        fields.resize(4);
        RequirementSentence requirement;
        requirement.section = static_cast<int32_t>(text.sectionAnchors.size());
        requirement.line = static_cast<int32_t>(text.requirements.size());
        requirement.keyword = fields[2];
        requirement.sentence = fields[3];
        text.sectionAnchors.push_back({0, fields[0], fields[1]});
        text.requirements.push_back(requirement);
    }

    std::ostringstream out;
    writeRequirementsCsv(text, out);
    std::vector<std::vector<std::string>> rows;
    PARCHLY_CHECK(parseCsv(out.str(), rows), "the file is RFC 4180 CSV");
    PARCHLY_CHECK(rows.size() == text.requirements.size() + 1, "one row per requirement after the header");
    PARCHLY_CHECK(
        rows[0]
            == (std::vector<std::string>{"RFC", "Section", "Section title", "Keyword", "Sentence", "Line"}),
        "the header row");
    for (std::size_t i = 0; i < text.requirements.size(); ++i) {
        const std::vector<std::string>& row = rows[i + 1];
        PARCHLY_CHECK(row.size() == 6, "six fields a row");
        const RequirementSentence& requirement = text.requirements[i];
        const SectionAnchor& anchor = text.sectionAnchors[i];
        const std::string written[] = {anchor.number, anchor.title, requirement.keyword,
                                       requirement.sentence};
        for (std::size_t f = 0; f < 4; ++f) {
            const std::string& cell = row[f + 1];
            PARCHLY_CHECK(!opensFormula(cell), "no cell begins with a formula character");
            PARCHLY_CHECK(cell == (opensFormula(written[f]) ? "'" + written[f] : written[f]),
                          "every field reads back as written");
        }
        PARCHLY_CHECK(row[0] == "9000" && row[5] == std::to_string(i + 1), "the number and the line");
    }
    return 0;
}
