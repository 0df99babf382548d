// The links of an RFC in the reading view, found again under the pointer
// from the analysis records: contents entries (to their heading), the RFC
// numbers of the references (to that RFC's file), and the record's links
// (citations to their reference, RFC and series numbers to that RFC,
// sections to their heading here or in another RFC). Points are viewport
// coordinates; lines are 0-based shown lines.
#ifndef PARCHLY_VIEW_HYPERLINKS_H
#define PARCHLY_VIEW_HYPERLINKS_H

#include <QPoint>
#include <QString>
#include <cstdint>
#include <string>

namespace parchly {

class ReadingView;
class RfcIndexStatus;
struct LinkMark;
struct RfcSettings;
struct RfcText;

// The contents entry whose text lies under the point (the margin left of
// its first non-blank character is not part of it); -1 when none, for the
// index, and while contents links are off.
int hitContentsEntry(const ReadingView& view, const QPoint& point);
// The reference whose RFC number's digits hold the point; -1 when none.
int hitReferenceNumber(const ReadingView& view, const QPoint& point);
// The link of the record whose text holds the point, found among the links
// of its line only; null when none.
const LinkMark* hitLink(const ReadingView& view, const QPoint& point);

// Whether a link of the record leads anywhere: a citation to its reference
// (unless reference links are off), an RFC number, a series the index
// names RFCs for, a section whose heading is known or that is in another RFC.
bool isLiveLink(const LinkMark& link, const RfcText& text, const RfcSettings& settings,
                const RfcIndexStatus* index);

// "BCP 14: RFC 2119, RFC 8174" for a series the index names RFCs for;
// empty for every other link.
QString seriesToolTip(const LinkMark& link, const RfcIndexStatus* index);

// Whether the point is over something that is shown and followed as a link
// in an RFC (the hand pointer is shown there).
bool isRfcLinkAt(const ReadingView& view, const RfcSettings& settings, const RfcIndexStatus* index,
                 const QPoint& point);

// What following the link at the point does in an RFC: open `url` in the
// desktop's browser (when not empty), open RFC `rfcNumber` (when above 0)
// at the heading of `section` (when not empty), or jump to `shownLine`
// (when 0 or more) in this one.
struct LinkTarget {
    int rfcNumber = 0;
    int shownLine = -1;
    std::string section;
    QString url;

    bool leadsAnywhere() const { return !url.isEmpty() || rfcNumber > 0 || shownLine >= 0; }
};

// The web address written in the text under the point; empty when none.
QString hitWebLink(const ReadingView& view, const QPoint& point);

// Where the link leads, as the reader is told on pointing at it: the
// address, "RFC 9110, Section 8.3", or the text of the line it jumps to.
QString linkTargetText(const ReadingView& view, const LinkTarget& target);

// The address "Copy Link" gives: a web address as written, an RFC's page
// at the RFC Editor (at the section's anchor), otherwise where it leads.
QString linkAddress(const ReadingView& view, const LinkTarget& target);
LinkTarget rfcLinkTargetAt(const ReadingView& view, const RfcSettings& settings, const RfcIndexStatus* index,
                           const QPoint& point);

} // namespace parchly

#endif
