// The RFC's own table of contents: the entries that follow its
// "Table of Contents" heading.
#ifndef PARCHLY_ANALYSIS_CONTENTS_H
#define PARCHLY_ANALYSIS_CONTENTS_H

#include "analysis/text_scan.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace parchly {

enum class ContentsEnd {
    kAtHeading, // an unindented line ended the contents: the first heading after them
    kOther, // the end of the file
};

// The section number that opens an entry line or a heading at `i`: "1.",
// "10.2.", "A.", "A.1.", "3", or "Appendix A." (the appendix A), followed
// by a blank and text. It is returned without trailing dots and `i` moves
// past it; empty when there is none. `dotted` tells a number written with
// its final dot or after "Appendix", which a wrapped title does not begin
// with.
std::string readLeadingSectionNumber(std::string_view line, std::size_t& i, bool& dotted);
// The same as a view into `line`, for a caller that only compares it.
std::string_view leadingSectionNumber(std::string_view line, std::size_t& i, bool& dotted);

// Parses the entries after the contents heading into `contents`: by their
// page numbers (a line that cannot be read as an entry is passed over), or,
// in an unpaginated RFC (no form feed, no page number in
// the contents; sets `contentsWithoutPages`), by their indentation. At
// kAtHeading, `headingLine` holds the line that ended the contents (already
// offered to the page recogniser and counted).
ContentsEnd parseContents(TextScan& scan, std::string_view& headingLine);

} // namespace parchly

#endif
