// The reading parts of parchly-bench: the RFC index opening with its tree,
// making another index entry current, and following a contents link.
#ifndef PARCHLY_TOOLS_READING_BENCH_H
#define PARCHLY_TOOLS_READING_BENCH_H

#include <QString>

namespace parchly {

class ParchlyApplication;

// Prints the times for the index file at `path`; false when it did not open.
bool benchIndex(ParchlyApplication& app, const QString& path);

// Prints the time to follow the contents link of every contents entry of the
// RFC at `path` (the slowest and the average); false when it did not open.
bool benchContentsLinks(ParchlyApplication& app, const QString& path);

// Prints, for the RFC at `path`, the time its links across RFCs and its
// requirement keywords add to its composition, the time to follow its links
// within the document, and the time to read its folder's RFC index.
bool benchCrossLinks(ParchlyApplication& app, const QString& path);

} // namespace parchly

#endif
