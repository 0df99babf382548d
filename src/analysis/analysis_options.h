// What a caller asks of the analysis of an RFC, kept apart from the analysis
// itself so that the settings, which fill it, need not link the analysis.
#ifndef PARCHLY_ANALYSIS_ANALYSIS_OPTIONS_H
#define PARCHLY_ANALYSIS_ANALYSIS_OPTIONS_H

#include "analysis/link_records.h"

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
    // What only the reading view shows: the heights of the page headers
    // and footers with the page ends once they are hidden, and the
    // bracketed citations of `citations` (the cited-by count takes its
    // citations from the links).
    bool pageStatistics = true;
    bool citationMarks = true;
};

} // namespace parchly

#endif
