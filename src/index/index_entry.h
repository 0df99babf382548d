// The fields of one entry of the RFC index, parsed on demand from the text
// the index view shows for it, with the offset of every RFC number so that
// the view can underline the digits and hit-test them.
#ifndef PARCHLY_INDEX_INDEX_ENTRY_H
#define PARCHLY_INDEX_INDEX_ENTRY_H

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace parchly {

// The RFC numbers of one parenthesised group: offsets[k] is the byte offset
// in the parsed text of the first digit of numbers[k].
struct IndexNumberList {
    std::vector<int32_t> numbers;
    std::vector<int32_t> offsets;
};

struct IndexEntryFields {
    int32_t number = 0;
    std::string title;
    int32_t titleStart = 0;
    std::string format;
    int32_t formatStart = 0;
    IndexNumberList obsoletes;
    IndexNumberList obsoletedBy;
    IndexNumberList updates;
    IndexNumberList updatedBy;
    IndexNumberList also;
    std::string status;
};

// Parses an entry's text: its lines as shown, each with its line end, joined.
// `fields` must be empty. False when the text is empty or holds nothing but
// the number and white space; when it ends inside the title, whether the
// title is non-empty; true otherwise, however the groups end. `limits` is
// not used.
bool parseIndexEntry(const std::string& text, const LimitsBlock& limits, IndexEntryFields& fields);

// The start of an entry's text as both the reader and the parse read it.
struct IndexEntryHead {
    // The leading decimal number; 0 when the text does not start with a
    // digit or the number does not fit an int32.
    int32_t number = 0;
    // The title runs from titleStart (after the digits and white space) to
    // titleEnd: the first "." followed by white space, a "." that ends the
    // text, or the end of the text.
    std::size_t titleStart = 0;
    std::size_t titleEnd = 0;
};

IndexEntryHead readIndexEntryHead(const std::string& text);

// The decimal number whose digits start at `position`, which is moved past
// all of them; 0 when there are none or the number does not fit an int32.
int32_t readIndexNumber(const std::string& text, std::size_t& position);

// Every line of `file` as the reader counts them: line number L at index
// L - 1, each with its line end.
std::vector<std::string> readIndexLines(LineReader& file);

// The text of `entry` as the view hands it to parseIndexEntry: the lines of
// its line range joined as they stand. Lines beyond `lines` are left out.
std::string indexEntryText(const std::vector<std::string>& lines, const RfcIndexEntry& entry);

} // namespace parchly

#endif
