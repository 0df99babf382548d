#include "view/link_follower.h"

#include "analysis/rfc_text.h"
#include "analysis/section_anchors.h"
#include "view/errata_markers.h"
#include "view/hyperlinks.h"
#include "view/index_reading.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/view_host.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace parchly {

LinkFollower::LinkFollower(ReadingView& view, RfcDocument& document, ViewHost& host, ErrataMarkers& markers,
                           IndexReading& index)
    : m_view(view)
    , m_document(document)
    , m_host(host)
    , m_markers(markers)
    , m_index(index)
{
}

void LinkFollower::pointAt(const QPoint& point)
{
    const bool isIndex = m_document.text().isIndex;
    const bool link = isIndex ? m_index.isLinkAt(point)
                              : isRfcLinkAt(m_view, m_host.settings(), m_host.indexStatus(), point);
    m_view.viewport()->setCursor(link ? Qt::PointingHandCursor : Qt::IBeamCursor);
    if (isIndex)
        return;
    // Where the link leads, as a tooltip and in the status bar; a series
    // names its RFCs. Off a link, an erratum's marker tells its status,
    // type and correction.
    QString where;
    if (link) {
        const LinkMark* mark = hitLink(m_view, point);
        where = mark ? seriesToolTip(*mark, m_host.indexStatus()) : QString();
        if (where.isEmpty())
            where = linkTargetText(m_view,
                                   rfcLinkTargetAt(m_view, m_host.settings(), m_host.indexStatus(), point));
    }
    if (where != m_status)
        m_host.showStatusMessage(where);
    m_status = where;
    const int erratum = link ? -1 : m_markers.erratumAt(point);
    m_view.viewport()->setToolTip(
        erratum >= 0 ? erratumToolTip(m_document.errata()[std::size_t(erratum)].erratum) : where);
}

void LinkFollower::followAt(const QPoint& point)
{
    if (m_document.text().isIndex) {
        if (m_index.followLinkAt(point))
            m_view.positions().record();
        return;
    }
    const LinkTarget target = rfcLinkTargetAt(m_view, m_host.settings(), m_host.indexStatus(), point);
    if (!target.url.isEmpty()) {
        QDesktopServices::openUrl(QUrl(target.url));
        return;
    }
    if (target.rfcNumber > 0)
        followToRfc(target.rfcNumber, target.section);
    if (target.shownLine >= 0)
        m_document.goToPlace(DocumentPlace{ShownLine::atIndex(target.shownLine)});
}

void LinkFollower::followToRfc(int number, const std::string& section)
{
    HistoryEntry from = m_view.positions().current();
    from.document = QFile::encodeName(m_document.pathName()).toStdString();
    ReadingView* target = m_host.openRfcView(number);
    if (!target || !target->rfcDocument()->isLoaded())
        return;
    RfcDocument& there = *target->rfcDocument();
    int line = -1;
    if (!section.empty()) {
        const int heading = sectionHeadingLine(there.text(), section);
        if (heading > 0)
            line = there.shownLineOf(FileLine::atNumber(heading)).index();
    }
    if (target != &m_view)
        there.history().record(from);
    if (line >= 0)
        there.goToPlace(DocumentPlace{ShownLine::atIndex(line)});
    else if (target != &m_view)
        target->positions().record();
}

} // namespace parchly
