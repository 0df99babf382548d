// The original text of an erratum made into what can be looked for in the
// RFC: submitters copy it with other line breaks, cut lines short, join
// them, quote it, mark changed lines with "|" bars and leave out what does
// not matter with "[...]". Only the characters between white space are
// compared, so none of that moves a match.
#ifndef PARCHLY_ANALYSIS_ERRATUM_TEXT_H
#define PARCHLY_ANALYSIS_ERRATUM_TEXT_H

#include <string>
#include <string_view>
#include <vector>

namespace parchly {

// Appends `text` to `out` without its white space, with the typographic
// quotes, dashes and ellipsis that copying from a web page brings folded to
// the ASCII the RFCs use.
void appendSqueezed(std::string& out, std::string_view text);

// The runs of the original text between elisions ("[...]", "...", "<snip>"
// lines), each squeezed as appendSqueezed does, with the labels around a
// quotation ("OLD:", "Section 4.1 says:"), the quotes and the ellipses at
// its ends left out; the text stops at a "NEW:" label. With
// `dropChangeBars`, a "|" that starts a line is left out too: it may be a
// change bar or the edge of a table, so the caller tries both.
std::vector<std::string> originalTextPieces(std::string_view original, bool dropChangeBars);

// The squeezed lines of the original text, change bars and labels left
// out, for a search line by line when the text as a whole is not found.
std::vector<std::string> originalTextLines(std::string_view original);

// Whether some line of the original text starts with a "|".
bool hasChangeBars(std::string_view original);

} // namespace parchly

#endif
