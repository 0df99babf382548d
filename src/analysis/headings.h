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

// The index of the contents entry, from `expected` on, that the heading
// paragraph `heading` at file line `line` belongs to, or -1. A match marks
// the entry matched at that line.
int32_t matchHeading(RfcText& text, const std::string& heading, int32_t line, int32_t expected);
// The same with `lower` as the memory for the heading in lower case, which
// a pass matching heading after heading keeps.
int32_t matchHeading(RfcText& text, std::string_view heading, std::string& lower, int32_t line,
                     int32_t expected);

} // namespace parchly

#endif
