// Reads the free-text section field of an erratum ("4.1", "Section 4.1",
// "4.1.", "Appendix A.1", "4.1.1.1.1. and 4.2.1.", "2.6, Table 1",
// "In Appendix B, it says:", "Abstract") into the section it names.
#ifndef PARCHLY_ANALYSIS_ERRATUM_SECTION_H
#define PARCHLY_ANALYSIS_ERRATUM_SECTION_H

#include <string>
#include <string_view>

namespace parchly {

struct NamedSection {
    // "4.1", "A.1", "B", "II": the first section number the field names,
    // without trailing dots; empty when it names none.
    std::string number;
    // The field itself when it names an unnumbered section by its title
    // ("Abstract", "Status of This Memo"); empty otherwise.
    std::string title;
};

NamedSection readErratumSection(std::string_view field);

// Whether the field is a plain section number: digits and dots only
// ("4.1", "4.1.", "12"), nothing else around them.
bool isPlainSectionNumber(std::string_view field);

} // namespace parchly

#endif
