#include "view/hyperlinks.h"

#include "analysis/line_mapping.h"
#include "analysis/section_lookup.h"
#include "settings/settings.h"
#include "view/rfc_document.h"
#include "view/reading_view.h"
#include "view/reading_session.h"
#include "platform/shown_lines.h"
#include "platform/text_geometry.h"

#include <algorithm>

namespace parchly {

namespace {

const RfcText& textOf(const ReadingView& view)
{
    return view.rfcDocument()->text();
}

const LineCuts& cutsOf(const ReadingView& view)
{
    return view.rfcDocument()->cuts();
}

bool between(int x, int left, int right)
{
    return left <= x && x <= right;
}

// The character position in shown line `line` of byte column `column`.
int bytePosition(const ReadingView& view, int line, int column)
{
    return view.lineStart(line) + view.charColumn(line, column);
}

bool validContentsLink(const RfcSettings& settings, const ContentEntry& entry)
{
    return !settings.DisableContentEntryLink
        && (!settings.DisableInvalidContentEntryLink || entry.headingLine > 0);
}

} // namespace

int shownLineOfFileIndex(const RfcText& text, const LineCuts& cuts, int32_t fileIndex)
{
    return fileLineToDisplay(text, cuts, fileIndex + 1) - 1;
}

int hitContentsEntry(const ReadingView& view, const QPoint& point)
{
    const RfcText& text = textOf(view);
    if (!inFormatRect(view, point) || view.session().contentLinksOff || text.isIndex)
        return -1;
    const int line = lineFromPoint(view, point.y());
    const QString shown = examinedText(view, line);
    const int length = lengthWithoutLineEnd(shown);
    if (length == 0)
        return -1;
    // From the first non-blank character to the end of the line's text.
    const int start = view.lineStart(line);
    const int end = start + length;
    const int first = std::min(start + skipBlanks(shown, 0), end);
    if (!between(point.x(), view.positionToPoint(first).x(), view.positionToPoint(end).x()))
        return -1;
    int32_t entry = -1;
    return findContentEntryAtLine(text, cutsOf(view), line + 1, entry) ? entry : -1;
}

int hitCitation(const ReadingView& view, const QPoint& point)
{
    const RfcText& text = textOf(view);
    if (!inFormatRect(view, point) || text.isIndex || text.citations.empty())
        return -1;
    const int line = lineFromPoint(view, point.y());
    for (std::size_t i = 0; i < text.citations.size(); ++i) {
        const CitationMark& mark = text.citations[i];
        if (shownLineOfFileIndex(text, cutsOf(view), mark.line) != line)
            continue;
        const int left = view.positionToPoint(bytePosition(view, line, mark.startColumn)).x();
        const int right = view.positionToPoint(bytePosition(view, line, mark.endColumn)).x();
        if (between(point.x(), left, right))
            return static_cast<int>(i);
    }
    return -1;
}

int hitReferenceNumber(const ReadingView& view, const QPoint& point)
{
    const RfcText& text = textOf(view);
    if (!inFormatRect(view, point) || text.isIndex)
        return -1;
    const int line = lineFromPoint(view, point.y());
    const int start = view.lineStart(line);
    for (std::size_t i = 0; i < text.references.size(); ++i) {
        const ReferenceEntry& entry = text.references[i];
        // The composition wrote the number's place in character columns.
        if (entry.rfc <= 0 || entry.linkLine <= 0
            || shownLineOfFileIndex(text, cutsOf(view), entry.linkLine) != line)
            continue;
        const int left = view.positionToPoint(start + entry.linkStart).x();
        const int right = view.positionToPoint(start + entry.linkEnd).x();
        if (between(point.x(), left, right))
            return static_cast<int>(i);
    }
    return -1;
}

bool isRfcLinkAt(const ReadingView& view, const RfcSettings& settings, const QPoint& point)
{
    const RfcText& text = textOf(view);
    const int entry = hitContentsEntry(view, point);
    if (entry >= 0 && validContentsLink(settings, text.contents[entry]))
        return true;
    if (hitCitation(view, point) >= 0 && !settings.DisableReferenceLink)
        return true;
    return hitReferenceNumber(view, point) >= 0;
}

LinkTarget rfcLinkTargetAt(const ReadingView& view, const RfcSettings& settings, const QPoint& point)
{
    const RfcText& text = textOf(view);
    LinkTarget target;
    const int reference = hitReferenceNumber(view, point);
    if (reference >= 0)
        target.rfcNumber = text.references[reference].rfc;

    const int citation = hitCitation(view, point);
    if (citation >= 0) {
        const int32_t referenceIndex = text.citations[citation].reference;
        if (!settings.DisableReferenceLink && referenceIndex >= 0
            && referenceIndex < static_cast<int32_t>(text.references.size()))
            target.shownLine =
                shownLineOfFileIndex(text, cutsOf(view), text.references[referenceIndex].firstLine);
        return target;
    }
    const int entry = hitContentsEntry(view, point);
    if (entry >= 0 && !settings.DisableContentEntryLink && text.contents[entry].headingLine > 0)
        target.shownLine = fileLineToDisplay(text, cutsOf(view), text.contents[entry].headingLine) - 1;
    return target;
}

} // namespace parchly
