#include "view/hyperlinks.h"

#include "analysis/line_mapping.h"
#include "analysis/link_records.h"
#include "index/index_status.h"
#include "analysis/section_lookup.h"
#include "settings/settings.h"
#include "view/rfc_document.h"
#include "view/reading_view.h"
#include "view/reading_session.h"
#include "view/web_links.h"
#include "view/line_placement.h"
#include "view/view_host.h"
#include "platform/shown_lines.h"
#include "platform/text_geometry.h"

#include <QStringList>
#include <algorithm>

namespace parchly {

namespace {

const RfcText& textOf(const ReadingView& view)
{
    return view.rfcDocument()->text();
}

const RfcDocument& documentOf(const ReadingView& view)
{
    return *view.rfcDocument();
}

// The target line's text a tooltip shows at most.
constexpr int kTargetTextLimit = 100;

bool between(int x, int left, int right)
{
    return left <= x && x <= right;
}

// The character position in shown line `line` of byte column `column`.
int bytePosition(const ReadingView& view, int line, int column)
{
    return view.lineStart(line) + charColumnOf(view, *view.rfcDocument(), line, column);
}

bool validContentsLink(const RfcSettings& settings, const ContentEntry& entry)
{
    return !settings.DisableContentEntryLink
        && (!settings.DisableInvalidContentEntryLink || entry.headingLine > 0);
}

} // namespace

int hitContentsEntry(const ReadingView& view, const QPoint& point)
{
    const RfcText& text = textOf(view);
    if (!inFormatRect(view, point) || view.host()->session().contentLinksOff || text.isIndex)
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
    return findContentEntryAtLine(text, documentOf(view).cuts(), ShownLine::atIndex(line), entry) ? entry
                                                                                                  : -1;
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
            || documentOf(view).shownLineOf(FileLine::atIndex(entry.linkLine)).index() != line)
            continue;
        const int left = view.positionToPoint(start + entry.linkStart).x();
        const int right = view.positionToPoint(start + entry.linkEnd).x();
        if (between(point.x(), left, right))
            return static_cast<int>(i);
    }
    return -1;
}

const LinkMark* hitLink(const ReadingView& view, const QPoint& point)
{
    const RfcText& text = textOf(view);
    if (!inFormatRect(view, point) || text.isIndex || text.links.empty())
        return nullptr;
    const int line = lineFromPoint(view, point.y());
    const int32_t fileIndex = documentOf(view).fileLineOf(ShownLine::atIndex(line)).index();
    // The links are in line order: only those of the line are looked at.
    const auto first = std::lower_bound(text.links.begin(), text.links.end(), fileIndex,
                                        [](const LinkMark& link, int32_t at) { return link.line < at; });
    for (auto link = first; link != text.links.end() && link->line == fileIndex; ++link) {
        const int left = view.positionToPoint(bytePosition(view, line, link->startColumn)).x();
        const int right = view.positionToPoint(bytePosition(view, line, link->endColumn)).x();
        if (between(point.x(), left, right))
            return &*link;
    }
    return nullptr;
}

bool isLiveLink(const LinkMark& link, const RfcText& text, const RfcSettings& settings,
                const RfcIndexStatus* index)
{
    switch (link.kind) {
    case LinkKind::Citation:
        return !settings.DisableReferenceLink && link.targetReference >= 0
            && link.targetReference < static_cast<int32_t>(text.references.size());
    case LinkKind::Rfc:
        return link.targetRfc > 0;
    case LinkKind::Series:
        return index && !index->seriesMembers(link.series, link.seriesNumber).empty();
    case LinkKind::Section:
        return link.targetLine > 0 || (link.targetRfc > 0 && link.targetRfc != text.rfcNumber);
    }
    return false;
}

QString seriesToolTip(const LinkMark& link, const RfcIndexStatus* index)
{
    if (link.kind != LinkKind::Series || !index)
        return QString();
    const std::vector<int32_t>& members = index->seriesMembers(link.series, link.seriesNumber);
    if (members.empty())
        return QString();
    QStringList numbers;
    for (const int32_t number : members)
        numbers << QStringLiteral("RFC %1").arg(number);
    return QStringLiteral("%1 %2: %3")
        .arg(QString::fromStdString(link.series))
        .arg(link.seriesNumber)
        .arg(numbers.join(QStringLiteral(", ")));
}

bool isRfcLinkAt(const ReadingView& view, const RfcSettings& settings, const RfcIndexStatus* index,
                 const QPoint& point)
{
    const RfcText& text = textOf(view);
    const int entry = hitContentsEntry(view, point);
    if (entry >= 0 && validContentsLink(settings, text.contents[entry]))
        return true;
    if (hitReferenceNumber(view, point) >= 0 || !hitWebLink(view, point).isEmpty())
        return true;
    const LinkMark* link = hitLink(view, point);
    return link && isLiveLink(*link, text, settings, index);
}

LinkTarget rfcLinkTargetAt(const ReadingView& view, const RfcSettings& settings, const RfcIndexStatus* index,
                           const QPoint& point)
{
    const RfcText& text = textOf(view);
    LinkTarget target;
    target.url = hitWebLink(view, point);
    if (!target.url.isEmpty())
        return target;
    const int reference = hitReferenceNumber(view, point);
    if (reference >= 0) {
        target.rfcNumber = text.references[reference].rfc;
        return target;
    }
    if (const LinkMark* link = hitLink(view, point)) {
        if (!isLiveLink(*link, text, settings, index))
            return target;
        switch (link->kind) {
        case LinkKind::Citation:
            target.shownLine =
                documentOf(view)
                    .shownLineOf(FileLine::atIndex(text.references[link->targetReference].firstLine))
                    .index();
            break;
        case LinkKind::Rfc:
            target.rfcNumber = link->targetRfc;
            break;
        case LinkKind::Series:
            target.rfcNumber = index->seriesMembers(link->series, link->seriesNumber).front();
            break;
        case LinkKind::Section:
            if (link->targetLine > 0) {
                target.shownLine = documentOf(view).shownLineOf(FileLine::atNumber(link->targetLine)).index();
            } else {
                target.rfcNumber = link->targetRfc;
                target.section = link->targetSection;
            }
            break;
        }
        return target;
    }
    const int entry = hitContentsEntry(view, point);
    if (entry >= 0 && !settings.DisableContentEntryLink && text.contents[entry].headingLine > 0)
        target.shownLine =
            documentOf(view).shownLineOf(FileLine::atNumber(text.contents[entry].headingLine)).index();
    return target;
}

QString hitWebLink(const ReadingView& view, const QPoint& point)
{
    if (!inFormatRect(view, point) || textOf(view).isIndex)
        return QString();
    const int line = lineFromPoint(view, point.y());
    const int start = view.lineStart(line);
    for (const WebLink& link : webLinksIn(examinedText(view, line))) {
        const int left = view.positionToPoint(start + link.start).x();
        const int right = view.positionToPoint(start + link.end).x();
        if (between(point.x(), left, right))
            return link.url;
    }
    return QString();
}

QString linkTargetText(const ReadingView& view, const LinkTarget& target)
{
    if (!target.url.isEmpty())
        return target.url;
    if (target.rfcNumber > 0) {
        const QString rfc = QStringLiteral("RFC %1").arg(target.rfcNumber);
        return target.section.empty()
            ? rfc
            : QStringLiteral("%1, Section %2").arg(rfc, QString::fromStdString(target.section));
    }
    if (target.shownLine >= 0)
        return view.lineText(target.shownLine).simplified().left(kTargetTextLimit);
    return QString();
}

QString linkAddress(const ReadingView& view, const LinkTarget& target)
{
    if (!target.url.isEmpty() || target.rfcNumber <= 0)
        return linkTargetText(view, target);
    QString address = QStringLiteral("https://www.rfc-editor.org/rfc/rfc%1").arg(target.rfcNumber);
    if (!target.section.empty()) {
        // The RFC Editor's pages name a section "section-8.3", an appendix
        // "appendix-A.1".
        const QString section = QString::fromStdString(target.section);
        const bool appendix = section.front().isLetter();
        address += QStringLiteral("#%1-%2").arg(
            appendix ? QStringLiteral("appendix") : QStringLiteral("section"), section);
    }
    return address;
}

} // namespace parchly
