// One erratum of the RFC Editor's errata database, and where it applies in
// the text of its RFC. Plain strings as the database gives them: the
// database is read elsewhere, the analysis only places what it holds.
#ifndef PARCHLY_ANALYSIS_ERRATUM_H
#define PARCHLY_ANALYSIS_ERRATUM_H

#include <cstdint>
#include <string>

namespace parchly {

struct Erratum {
    std::string id; // "1234", as the database spells it
    int32_t rfc = 0; // from "RFC4954"; 0 when the record names no RFC
    std::string status; // "Verified", "Reported", "Held for Document Update", "Rejected"
    std::string type; // "Technical", "Editorial"
    std::string section; // free text: "4.1", "Appendix A says:", "GLOBAL"
    std::string originalText; // line ends as given (CR LF or LF)
    std::string correctedText;
    std::string notes;
    std::string submitDate;
    std::string submitter;
    std::string verifier;
    std::string updateDate;
};

// How a placement was found: at the lines of the erratum's original text,
// at the heading of the section it names, or, with neither, at the top.
enum class PlacedBy : uint8_t { Text, Section, Top };

// The file lines an erratum applies to, 0-based like reference and
// citation lines, both included.
struct ErratumPlacement {
    int32_t firstLine = 0;
    int32_t lastLine = 0;
    PlacedBy placedBy = PlacedBy::Top;
};

// "text", "section", "top": the words of the dumps and the tooltips.
const char* placedByName(PlacedBy placedBy);

// "Verified", "Held for Document Update", "Reported", "Rejected", whatever
// the case and spacing of the database.
enum class ErratumStatus { Verified, Held, Reported, Rejected, Other };
ErratumStatus erratumStatus(const std::string& status);
bool isTechnical(const Erratum& erratum);

} // namespace parchly

#endif
