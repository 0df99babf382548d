// The analysis of an RFC's plain text into an RfcText record.
#ifndef PARCHLY_ANALYSIS_ANALYSE_H
#define PARCHLY_ANALYSIS_ANALYSE_H

#include "analysis/analysis_options.h"
#include "analysis/line_reader.h"
#include "analysis/reference_labels.h"
#include "analysis/rfc_text.h"

namespace parchly {

// Analyses the text read from `file` into `text`. False when `file` is null
// (the record is left as it was).
bool analyseText(RfcText& text, LineReader* file, const LimitsBlock& limits, const AnalysisOptions& options);

// The passes of analyseText that look across line ends: the links of
// `links` and, when asked, the requirement sentences, found in the text of
// `file` that `text` is the analysis of. For a caller that asked the
// analysis for neither and learns from its record whether it needs them.
// `labels` are those of `text.references` where the caller holds them
// already; they are made here otherwise.
void findLinksAndRequirements(RfcText& text, LineReader& file, LinkScope links, bool requirements,
                              const ReferenceLabels* labels = nullptr);

} // namespace parchly

#endif
