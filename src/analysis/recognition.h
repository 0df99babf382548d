// Whether an opened text is an RFC at all, and how one that is not is read:
// as the plain text it is, without anything the analysis took for RFC
// structure.
#ifndef PARCHLY_ANALYSIS_RECOGNITION_H
#define PARCHLY_ANALYSIS_RECOGNITION_H

#include "analysis/rfc_text.h"

namespace parchly {

// True for the RFC index and for a text with any sign of an RFC: a number
// line in its front matter ("Request for Comments: 9110", "RFC: 791"), a
// "Category:" line, page headers or footers, or page breaks (form feeds;
// RFC 822 has no number line the front matter reads, but 49 pages). A
// README or a source file has none of them.
bool recognisedAsRfc(const RfcText& text);

// Forgets the title, headings, contents, references, citations, links and
// requirements found in a text that is no RFC: in such a text they are
// guesses (a "#include" line taken for a title, "RFC 2119" in a README taken
// for a link), and the text is shown plain. Lines and pages stay.
void keepAsPlainText(RfcText& text);

} // namespace parchly

#endif
