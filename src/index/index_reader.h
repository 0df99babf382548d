// Reads the RFC index file into an RfcText record: where each entry stands,
// its number and its title. The groups of an entry are parsed later, on
// demand (index_entry.h).
#ifndef PARCHLY_INDEX_INDEX_READER_H
#define PARCHLY_INDEX_INDEX_READER_H

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"

namespace parchly {

// Reads the index from `file` into `index`, a freshly constructed record:
// sets isIndex, counts lines and form feeds, and appends one RfcIndexEntry
// per entry found after the second "RFC INDEX" line.
void readIndex(RfcText& index, LineReader& file);

} // namespace parchly

#endif
