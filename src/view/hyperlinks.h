// The links of an RFC in the reading view, found again under the pointer
// from the analysis records: contents entries (to their heading),
// citations (to their reference) and RFC numbers in the references (to
// that RFC's file). Points are viewport coordinates; lines are 0-based
// shown lines.
#ifndef PARCHLY_VIEW_HYPERLINKS_H
#define PARCHLY_VIEW_HYPERLINKS_H

#include <QPoint>
#include <cstdint>

namespace parchly {

class ReadingView;
struct RfcSettings;
struct RfcText;
struct LineCuts;

// The shown line (0-based) of the 0-based file line `fileIndex`.
int shownLineOfFileIndex(const RfcText& text, const LineCuts& cuts, int32_t fileIndex);

// The contents entry whose text lies under the point (the margin left of
// its first non-blank character is not part of it); -1 when none, for the
// index, and while contents links are off.
int hitContentsEntry(const ReadingView& view, const QPoint& point);
// The first citation whose bracketed text holds the point; -1 when none.
int hitCitation(const ReadingView& view, const QPoint& point);
// The reference whose RFC number's digits hold the point; -1 when none.
int hitReferenceNumber(const ReadingView& view, const QPoint& point);

// Whether the point is over something that is shown and followed as a link
// in an RFC (the hand pointer is shown there).
bool isRfcLinkAt(const ReadingView& view, const RfcSettings& settings, const QPoint& point);

// What following the link at the point does in an RFC: open RFC
// `rfcNumber` (when above 0) and/or jump to `shownLine` (when 0 or more).
struct LinkTarget {
    int rfcNumber = 0;
    int shownLine = -1;
};
LinkTarget rfcLinkTargetAt(const ReadingView& view, const RfcSettings& settings, const QPoint& point);

} // namespace parchly

#endif
