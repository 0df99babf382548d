// The requirement sentences as CSV for a compliance matrix.
#ifndef PARCHLY_ANALYSIS_REQUIREMENTS_CSV_H
#define PARCHLY_ANALYSIS_REQUIREMENTS_CSV_H

#include "analysis/rfc_text.h"

#include <ostream>
#include <string>

namespace parchly {

// Writes a header row and one row per requirement: RFC number, section
// number, section title, keyword, sentence, line (1-based, as an editor
// counts). RFC 4180: CR LF row ends; a field holding a comma, a double
// quote or a line end is quoted, its quotes doubled.
void writeRequirementsCsv(const RfcText& text, std::ostream& out);

// One field as RFC 4180 writes it; a text a spreadsheet would take as a
// formula (beginning with "=", "+", "-", "@", a tab or a CR) is written
// with a leading apostrophe, so that it is shown as the text it is.
std::string csvField(const std::string& value);

} // namespace parchly

#endif
