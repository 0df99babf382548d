// The markers of the errata in the reading view's text, composed as plain
// data from the placed errata and the shown lines, so that tests check them
// without widgets: which characters each erratum tints, and which erratum a
// click or a pointer at a character means.
#ifndef PARCHLY_VIEW_ERRATA_MARKS_H
#define PARCHLY_VIEW_ERRATA_MARKS_H

#include "analysis/erratum.h"
#include "analysis/line_mapping.h"

#include <QString>
#include <vector>

namespace parchly {

struct RfcSettings;
struct RfcText;

// One erratum of the document's RFC and the file lines it applies to.
struct PlacedErratum {
    Erratum erratum;
    ErratumPlacement placement;
};

// Whether the status filter of `settings` shows the erratum (an erratum of
// a status the database did not know is shown with the Reported ones).
bool shownByErrataFilter(const Erratum& erratum, const RfcSettings& settings);

// Characters [start, end) of the shown text on one line of erratum
// `erratum` (an index into the placed errata).
struct ErratumRun {
    int start = 0;
    int end = 0;
    int erratum = 0;
    bool technical = false;

    bool operator==(const ErratumRun& other) const
    {
        return start == other.start && end == other.end && erratum == other.erratum
            && technical == other.technical;
    }
};

// The runs of every shown erratum on the lines shown under `cuts`: each line
// from its first to its last character that is not blank. Editorial errata
// first, so that a Technical one on the same line is applied last and wins.
std::vector<ErratumRun> composeErrataMarks(const RfcText& text, const LineCuts& cuts,
                                           const QString& shownText, const std::vector<PlacedErratum>& errata,
                                           const RfcSettings& settings);

// The erratum whose marker holds character `position`, the Technical one
// where two meet; -1 where there is none.
int erratumAtPosition(const std::vector<ErratumRun>& runs, int position);

// The tooltip of a marker: status, type and the corrected text.
QString erratumToolTip(const Erratum& erratum);

} // namespace parchly

#endif
