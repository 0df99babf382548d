// The RFC index in the reading view: loading it with its Index tree, the
// current entry following the caret, and following an entry's links.
#include "view/parchly_view.h"

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"
#include "app/parchly_app.h"
#include "app/settings.h"
#include "index/index_reader.h"
#include "index/index_tree.h"
#include "index/index_view.h"
#include "platform/dialogs.h"
#include "platform/tab_strip.h"
#include "platform/wait_cursor.h"
#include "view/parchly_doc.h"
#include "view/view_host.h"

#include <QFile>

namespace parchly {

void CParchlyView::LoadRfcIndex()
{
    std::optional<LineReader> reader =
        LineReader::open(QFile::encodeName(m_document->GetPathName()).toStdString());
    if (!reader)
        return;

    WaitCursor wait;
    RfcText& text = rfc();
    readIndex(text, &*reader, m_document->limits());
    const NavigatorTrees trees = m_host->navigator();
    FillIndexTree(trees.structureTree, text, settings().IndexLevelCounts);

    TextFormat format;
    if (settings().GetFormat(kFormatDefault, format))
        SetDefaultFormat(format);
    if (!streamFile()) {
        Show();
        return;
    }
    m_index = std::make_unique<RfcIndexView>(*this, text, settings(), m_document->limits());
    m_index->FormatRfcIndex();
    if (trees.tabs)
        trees.tabs->InsertTab(0, QStringLiteral("Index"), 0);
}

void CParchlyView::UpdateCurrentIndexEntry(int line)
{
    if (m_index)
        m_index->UpdateCurrentIndexEntry(line);
}

void CParchlyView::followIndexLink(const QPoint& point)
{
    if (!m_index)
        return;
    const RfcText& text = rfc();
    const int entry = m_index->HitIndexTitle(point);
    if (entry >= 0) {
        openIndexRfc(text.indexEntries[entry].number);
        return;
    }
    const int number = m_index->HitIndexNumber(point);
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
            GoToContentsEntry(i);
            RecordPosition();
        }
}

void CParchlyView::openIndexRfc(int number)
{
    const std::string path = rfcPath(settings().RfcRootPath, number);
    if (canOpenForReading(path))
        m_host->openRfcNumber(number);
    else
        dialogs().message(this, QFile::decodeName(path.c_str()) + QStringLiteral(" does NOT exist!"));
}

} // namespace parchly
