#include "view/index_reading.h"

#include "analysis/rfc_text.h"
#include "index/index_view.h"
#include "platform/dialogs.h"
#include "platform/text_view.h"
#include "settings/rfc_paths.h"
#include "settings/settings.h"
#include "view/rfc_document.h"
#include "view/view_host.h"

#include <QFile>

#include <algorithm>

namespace parchly {

IndexReading::IndexReading(TextView& view, RfcDocument& document, ViewHost& host)
    : m_view(view)
    , m_document(document)
    , m_host(host)
{
}

IndexReading::~IndexReading() = default;

void IndexReading::show()
{
    m_index =
        std::make_unique<RfcIndexView>(m_view, m_document.text(), m_host.settings(), m_document.limits());
    m_index->formatRfcIndex();
}

void IndexReading::updateCurrentEntry(int line)
{
    if (!m_index)
        return;
    const RfcText& text = m_document.text();
    const int before = text.currentEntry;
    m_index->updateCurrentIndexEntry(line);
    const int entry = text.currentEntry;
    if (entry == before || entry < 0 || entry >= int(text.indexEntries.size()))
        return;
    // The current entry says what the errata database holds of its RFC,
    // whether or not the folder has the RFC itself.
    const int number = text.indexEntries[std::size_t(entry)].number;
    const QString errata = m_host.errataCountsOf(number);
    if (!errata.isEmpty())
        m_host.showStatusMessage(QStringLiteral("RFC %1: Errata: %2").arg(number).arg(errata));
}

bool IndexReading::isLinkAt(const QPoint& point) const
{
    return m_index && (m_index->hitIndexTitle(point) >= 0 || m_index->hitIndexNumber(point) >= 0);
}

bool IndexReading::followLinkAt(const QPoint& point)
{
    if (!m_index)
        return false;
    const RfcText& text = m_document.text();
    const int entry = m_index->hitIndexTitle(point);
    if (entry >= 0) {
        openRfc(text.indexEntries[entry].number);
        return false;
    }
    const int number = m_index->hitIndexNumber(point);
    if (number < 0)
        return false;
    if (!m_host.settings().JumpToRfcIndexInsteadOfFile) {
        openRfc(number);
        return false;
    }
    // The index lists RFC n as its n-th entry, or earlier where numbers
    // are missing.
    const int last = static_cast<int>(text.indexEntries.size()) - 1;
    bool went = false;
    for (int i = std::min(number - 1, last); i >= 0; --i)
        if (text.indexEntries[i].number == number) {
            m_document.goToContentsEntry(i);
            went = true;
        }
    return went;
}

void IndexReading::openRfc(int number)
{
    const std::string path = rfcPath(m_host.settings().RfcRootPath, number);
    if (canOpenForReading(path) || m_host.fetchMissingRfc(number))
        m_host.openRfcNumber(number);
    else
        dialogs().message(&m_view, QFile::decodeName(path.c_str()) + QStringLiteral(" does NOT exist!"));
}

} // namespace parchly
