// Which contents entry a shown line belongs to: the entry printed on it
// (for the contents hyperlinks) or the section that holds it.
#ifndef PARCHLY_ANALYSIS_SECTION_LOOKUP_H
#define PARCHLY_ANALYSIS_SECTION_LOOKUP_H

#include "analysis/line_mapping.h"
#include "analysis/rfc_text.h"

#include <cstdint>

namespace parchly {

// The contents entry (in the index file: the index entry) printed on shown
// line `line` under `cuts`. False with `index` -1 when none.
bool findContentEntryAtLine(const RfcText& text, const LineCuts& cuts, ShownLine line, int32_t& index);

// The contents entry (in the index file: the index entry) whose section
// holds shown line `line`: the last one whose heading is shown at or before
// it. False with `index` -1 when the first entry lies below the line.
bool findSectionAtLine(const RfcText& text, const LineCuts& cuts, ShownLine line, int32_t& index);

} // namespace parchly

#endif
