#include "view/parchly_view.h"

#include "analysis/analyse.h"
#include "analysis/line_mapping.h"
#include "analysis/line_reader.h"
#include "app/settings.h"
#include "index/index_view.h"
#include "platform/tab_strip.h"
#include "platform/text_decoding.h"
#include "platform/wait_cursor.h"
#include "view/parchly_doc.h"
#include "view/view_host.h"

#include <QFile>
#include <algorithm>

namespace parchly {

bool contentLinksOff = false;

namespace {

constexpr int kTabNameLimit = 255;
constexpr size_t kStreamChunk = 64 * 1024;

// Hands the text to the control in pieces, as a file read callback would.
TextView::ReadCallback chunksOf(const std::string& text)
{
    return [&text, offset = size_t(0)]() mutable {
        std::string chunk = text.substr(std::min(offset, text.size()), kStreamChunk);
        offset += chunk.size();
        return chunk;
    };
}

} // namespace

CParchlyView::CParchlyView(CParchlyDoc* document, ViewHost* host, QWidget* parent)
    : TextView(parent), m_document(document), m_host(host)
{
    // The hand over links follows the pointer without a button pressed.
    viewport()->setMouseTracking(true);
}

CParchlyView::~CParchlyView()
{
    if (m_host && m_initialised)
        m_host->removeDocumentTab(this);
}

RfcText& CParchlyView::rfc() const
{
    return m_document->text();
}

const RfcSettings& CParchlyView::settings() const
{
    return m_host->settings();
}

bool CParchlyView::isRfcIndexPath() const
{
    return m_document->GetPathName().endsWith(QLatin1String("rfc-index.txt"), Qt::CaseSensitive);
}

void CParchlyView::OnInitialUpdate()
{
    if (m_initialised)
        return;
    if (isRfcIndexPath()) {
        LoadRfcIndex();
        RecordPosition();
    } else {
        LoadRfcText();
        // The composition leaves the caret on the last run it formatted,
        // which the control scrolls into view: a reader starts at the top.
        showLineAtTop(0);
    }
    RecordPosition();

    const QString path = m_document->GetPathName();
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).left(kTabNameLimit);
    m_host->addDocumentTab(name, this);
    m_initialised = true;
}

bool CParchlyView::streamFile()
{
    std::string bytes;
    if (!readTextModeFile(QFile::encodeName(m_document->GetPathName()).toStdString(), bytes))
        return false;
    StreamInPlainText(chunksOf(bytes));
    return true;
}

void CParchlyView::LoadRfcText()
{
    std::optional<LineReader> reader =
        LineReader::open(QFile::encodeName(m_document->GetPathName()).toStdString());
    if (!reader)
        return;

    WaitCursor wait;
    const RfcSettings& options = settings();
    analyseText(rfc(), &*reader, m_document->limits(), options.analysisOptions());
    const NavigatorTrees trees = m_host->navigator();
    FillStructureTree(trees.structureTree);
    FillPageTree(trees.pageTree);

    TextFormat format;
    if (options.GetFormat(kFormatDefault, format))
        SetDefaultFormat(format);
    if (!streamFile()) {
        Show();
        return;
    }
    FormatRfcText();
    ShowHeadersAndFooters(options.DisableHeaderAndFooterInAllFiles, options.DisableHeaderAndFooterInAllFiles);
    ShowPageSeparators(options.ShowPageSeparator);

    if (!m_tabsAdded && trees.tabs) {
        trees.tabs->InsertTab(0, QStringLiteral("Structure"), 0);
        trees.tabs->InsertTab(1, QStringLiteral("Page"), 1);
        m_tabsAdded = true;
    }
}

int CParchlyView::shownLineOfFileNumber(int fileNumber) const
{
    return fileLineToDisplay(rfc(), fileNumber) - 1;
}

int CParchlyView::CharColumn(int shownLine, int byteColumn) const
{
    const int32_t fileIndex = displayLineToFile(rfc(), shownLine + 1) - 1;
    const std::vector<int32_t>& latin1 = StreamedLatin1Lines();
    const bool byteForByte = std::binary_search(latin1.begin(), latin1.end(), fileIndex);
    return byteColumnToCharColumn(LineText(shownLine), byteColumn, byteForByte);
}

void CParchlyView::GetCaretLineColumn(int& line, int& column) const
{
    const int end = GetSelection().end;
    line = LineFromPosition(end);
    column = end - LineStart(line);
}

void CParchlyView::UpdatePositionStatus()
{
    int line = 0;
    int column = 0;
    GetCaretLineColumn(line, column);
    m_host->setPositionPane(QStringLiteral("Ln %1, Col %2").arg(line).arg(column));
}

} // namespace parchly
