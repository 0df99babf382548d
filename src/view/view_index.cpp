// The RFC index in the reading view: the current entry following the caret,
// and following an entry's links.
#include "view/reading_view.h"
#include "settings/rfc_paths.h"

#include "analysis/rfc_text.h"
#include "settings/settings.h"
#include "index/index_view.h"
#include "platform/dialogs.h"
#include "view/rfc_document.h"
#include "view/view_host.h"

#include <QFile>

namespace parchly {

void ReadingView::updateCurrentIndexEntry(int line)
{
    if (!m_index)
        return;
    const int before = rfc().currentEntry;
    m_index->updateCurrentIndexEntry(line);
    const int entry = rfc().currentEntry;
    if (entry == before || entry < 0 || entry >= int(rfc().indexEntries.size()))
        return;
    // The current entry says what the errata database holds of its RFC,
    // whether or not the folder has the RFC itself.
    const int number = rfc().indexEntries[std::size_t(entry)].number;
    const QString errata = m_host->errataCountsOf(number);
    if (!errata.isEmpty())
        m_host->showStatusMessage(QStringLiteral("RFC %1: Errata: %2").arg(number).arg(errata));
}

void ReadingView::followIndexLink(const QPoint& point)
{
    if (!m_index)
        return;
    const RfcText& text = rfc();
    const int entry = m_index->hitIndexTitle(point);
    if (entry >= 0) {
        openIndexRfc(text.indexEntries[entry].number);
        return;
    }
    const int number = m_index->hitIndexNumber(point);
    if (number < 0)
        return;
    if (!settings().JumpToRfcIndexInsteadOfFile) {
        openIndexRfc(number);
        return;
    }
    // The index lists RFC n as its n-th entry, or earlier where numbers
    // are missing.
    const int last = static_cast<int>(text.indexEntries.size()) - 1;
    for (int i = std::min(number - 1, last); i >= 0; --i)
        if (text.indexEntries[i].number == number) {
            m_document->goToContentsEntry(i);
            m_positions.record();
        }
}

void ReadingView::openIndexRfc(int number)
{
    const std::string path = rfcPath(settings().RfcRootPath, number);
    if (canOpenForReading(path) || m_host->fetchMissingRfc(number))
        m_host->openRfcNumber(number);
    else
        dialogs().message(this, QFile::decodeName(path.c_str()) + QStringLiteral(" does NOT exist!"));
}

} // namespace parchly
