#include "analysis/requirements_csv.h"

#include <cstddef>

namespace parchly {

std::string csvField(const std::string& value)
{
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
        out << rfc << ',' << csvField(number) << ',' << csvField(title) << ',' << requirement.keyword << ','
            << csvField(requirement.sentence) << ',' << requirement.line + 1 << "\r\n";
    }
}

} // namespace parchly
