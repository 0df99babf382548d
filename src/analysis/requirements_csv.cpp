#include "analysis/requirements_csv.h"

#include <cstddef>

namespace parchly {

namespace {

// A spreadsheet takes a cell beginning with one of these as a formula (or,
// for a tab or CR, may drop the character and read what follows as one):
// "=HYPERLINK(...)" in a sentence would be a live link, "=cmd|..." a
// command. Such a cell is shown as text by a leading apostrophe, as the
// OWASP advice on CSV injection has it; the apostrophe is not shown.
bool opensFormula(const std::string& value)
{
    if (value.empty())
        return false;
    switch (value.front()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return true;
    default:
        return false;
    }
}

} // namespace

std::string csvField(const std::string& text)
{
    const std::string value = opensFormula(text) ? "'" + text : text;
    if (value.find_first_of(",\"\r\n") == std::string::npos)
        return value;
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

void writeRequirementsCsv(const RfcText& text, std::ostream& out)
{
    out << "RFC,Section,Section title,Keyword,Sentence,Line\r\n";
    const std::string rfc = text.rfcNumber > 0 ? std::to_string(text.rfcNumber) : std::string();
    for (const RequirementSentence& requirement : text.requirements) {
        std::string number;
        std::string title;
        if (requirement.section >= 0
            && static_cast<std::size_t>(requirement.section) < text.sectionAnchors.size()) {
            const SectionAnchor& anchor = text.sectionAnchors[static_cast<std::size_t>(requirement.section)];
            number = anchor.number;
            title = anchor.title;
        }
        out << rfc << ',' << csvField(number) << ',' << csvField(title) << ','
            << csvField(requirement.keyword) << ',' << csvField(requirement.sentence) << ','
            << requirement.line + 1 << "\r\n";
    }
}

} // namespace parchly
