// The references sections of an RFC and the bracketed citations that name
// their entries.
#ifndef PARCHLY_ANALYSIS_REFERENCES_H
#define PARCHLY_ANALYSIS_REFERENCES_H

#include "analysis/analyse.h"
#include "analysis/reference_labels.h"

#include <string_view>

namespace parchly {

// Whether a section title names a references section.
bool isReferencesTitle(std::string_view title);

// Whether contents entry `entry` holds references of the record, so that
// the leaves under it in the Structure tree are references. Told by the
// record, not the title: references are found under headings of every
// decade ("REFERENCES and BIBLIOGRAPHY", "Bibliography").
bool holdsReferences(const RfcText& text, int64_t entry);

// Fills `references` from the sections of `contents` whose heading was
// located and whose title names references. The pass
// counts its own lines; the record's counts stay those of the analysis.
// False without doing anything when `file` is null, the record is the index,
// reference analysis is disabled or there are no contents; otherwise
// whether any reference was found.
bool analyseReferences(RfcText& text, LineReader* file, const AnalysisOptions& options);

// Finds the citations before the first reference: every bracket pair of a
// line that agrees with a reference's label, looked up in `labels` (those
// of `text.references`). False when `file` is null or there are no
// references.
bool findCitations(RfcText& text, LineReader* file, const ReferenceLabels& labels);
// The same with a table of the labels of its own.
bool findCitations(RfcText& text, LineReader* file);

} // namespace parchly

#endif
