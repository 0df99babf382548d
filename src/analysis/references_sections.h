// Where the references sections of an RFC are, found from the text itself:
// their headings are printed in many shapes over the decades, and many
// contents lists name them differently or not at all.
#ifndef PARCHLY_ANALYSIS_REFERENCES_SECTIONS_H
#define PARCHLY_ANALYSIS_REFERENCES_SECTIONS_H

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace parchly {

// The 0-based lines of one references section: its heading, and the first
// line after it (the next heading, or the end of the text).
struct ReferencesSection {
    int32_t heading = 0;
    int32_t end = 0;
};

// A heading's text without its section number: "5.  REFERENCES" gives
// "REFERENCES", "A.1     Informative References" and "Appendix B -
// References" give the text after the number.
std::string_view withoutSectionNumber(std::string_view heading);

// Whether a heading, its number taken away, opens a references section:
// "References", "Normative References", "REFERENCES", "References and
// Notes", "Bibliography", with or without a closing colon.
bool opensReferences(std::string_view heading);

// Whether a heading, its number taken away, is "URIs" (or "URI's"): the
// list of the links a text numbers ("[1] https://..."), which xml2rfc sets
// after the references. It belongs to them where it follows them.
bool namesUriList(std::string_view heading);

// Whether a heading inside a references section, its number taken away,
// opens with the title of one and goes on to say whose it is: "Normative
// References for GSS-API Implementors" (RFC 5802) between its normative
// and informative references, a group of them.
bool opensWithReferencesTitle(std::string_view title);

// Whether section number `number` numbers a subsection of `parent`: "9.1"
// and "9.2.3" of "9", "A.1" of "A"; neither ends in a full stop.
bool isSubsectionNumber(std::string_view number, std::string_view parent);

// The references sections of the text in file order. `marks` holds, per
// 0-based line, 1 for a page header or footer and 0 for any other line. A section starts at
// an unindented heading that opens references and runs to the next
// unindented line after a blank that is neither a label, a page line, a
// heading of references of its own ("LINK LAYER REFERENCES" in RFC 1122),
// nor the heading of a list of URIs.
std::vector<ReferencesSection> findReferencesSections(const RfcText& text, const LineReader& lines,
                                                      const std::vector<uint8_t>& marks);

// Whether `line` opens a reference entry: a bracketed label first on the
// line, "[1]", "[RFC-822]", "[TCP:9]", "[IEEE.802.3]", not a page number.
// `open` and `close` are set to the brackets.
bool opensReferenceEntry(std::string_view line, std::size_t& open, std::size_t& close);

// Whether an entry wrapped at the margin runs on across a page break: the
// last line of text before the break, `before`, leaves it open (no full
// stop ends it), and the first after it, `after`, goes on with it (a comma
// in it, which a heading of the body never holds): "[3] Mockapetris, P.,
// "Domain Names", STD" / page break / "13, RFC 1034, November 1987."
bool wrapsAcrossPage(std::string_view before, std::string_view after);

} // namespace parchly

#endif
