// The analysis of an RFC's plain text into an RfcText record.
#ifndef PARCHLY_ANALYSIS_ANALYSE_H
#define PARCHLY_ANALYSIS_ANALYSE_H

#include "analysis/analysis_options.h"
#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"

namespace parchly {

// Analyses the text read from `file` into `text`. False when `file` is null
// (the record is left as it was).
bool analyseText(RfcText& text, LineReader* file, const LimitsBlock& limits, const AnalysisOptions& options);

} // namespace parchly

#endif
