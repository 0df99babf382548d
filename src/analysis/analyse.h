// The analysis of an RFC's plain text into an RfcText record.
#ifndef PARCHLY_ANALYSIS_ANALYSE_H
#define PARCHLY_ANALYSIS_ANALYSE_H

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"

namespace parchly {

// The settings the analysis consults, taken from RfcSettings by the caller
// at the moment of the analysis.
struct AnalysisOptions {
    bool buildStructureFromText = true;
    bool disableSpacesNearHeaderAndFooter = true;
    bool disableReferenceAnalysis = false;
    // The links across RFCs and the requirement sentences take most of the
    // analysis' time: a caller that shows neither (a search over the whole
    // collection, the count of citations) asks for less.
    LinkScope links = LinkScope::All;
    bool requirements = true;
};

// Analyses the text read from `file` into `text`. False when `file` is null
// (the record is left as it was).
bool analyseText(RfcText& text, LineReader* file, const LimitsBlock& limits, const AnalysisOptions& options);

} // namespace parchly

#endif
