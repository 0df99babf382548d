// The errata markers of a reading view: the "Errata" format's colour as a
// background tint on the text each erratum applies to (stronger for a
// Technical one), composed against the text as it stands and found again
// under the pointer.
#ifndef PARCHLY_VIEW_ERRATA_MARKERS_H
#define PARCHLY_VIEW_ERRATA_MARKERS_H

#include "view/errata_marks.h"

#include <QPoint>
#include <vector>

namespace parchly {

class RfcDocument;
class TextView;
class ViewHost;

class ErrataMarkers {
public:
    ErrataMarkers(TextView& view, const RfcDocument& document, const ViewHost& host);

    // Marks the errata afresh in their own edit, after the errata, their
    // status filter or the format changed.
    void mark();
    // Marks them inside an edit the caller has open (a composition).
    void apply();
    // The erratum whose marker is under `point` (viewport coordinates); -1
    // where there is none.
    int erratumAt(const QPoint& point);

private:
    const std::vector<ErratumRun>& runs();

    TextView& m_view;
    const RfcDocument& m_document;
    const ViewHost& m_host;
    // The markers as last composed, for the text revision they were
    // composed for.
    std::vector<ErratumRun> m_runs;
    int m_revision = -1;
};

} // namespace parchly

#endif
