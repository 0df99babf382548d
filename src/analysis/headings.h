// The unindented heading paragraphs of an RFC: those before its table of
// contents, and those of the body, each matched to its contents entry.
#ifndef PARCHLY_ANALYSIS_HEADINGS_H
#define PARCHLY_ANALYSIS_HEADINGS_H

#include "analysis/text_scan.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace parchly {

// Records every unindented paragraph that is not sentence-like in
// `headings`, up to and including one that begins with "Table of Contents".
// True when that heading was found; false at the end of the file.
bool readPreContentsHeadings(TextScan& scan, const LimitsBlock& limits);

// Reads the body to the end of the file, starting with `firstHeading` (the
// unindented line that ended the contents, or empty to start with the next
// line), and records each heading that matches a contents entry.
void readBodyHeadings(TextScan& scan, const LimitsBlock& limits, std::string_view firstHeading);

} // namespace parchly

#endif
