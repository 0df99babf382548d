#include "view/reading_view.h"
#include "view/reading_session.h"

#include "analysis/analyse.h"
#include "analysis/line_mapping.h"
#include "analysis/line_reader.h"
#include "analysis/recognition.h"
#include "settings/settings.h"
#include "index/index_view.h"
#include "platform/tab_strip.h"
#include "platform/text_decoding.h"
#include "platform/wait_cursor.h"
#include "view/rfc_document.h"
#include "view/view_host.h"

#include <QFile>
#include <QTextBlock>
#include <algorithm>
#include <utility>

namespace parchly {

namespace {

constexpr int kTabNameLimit = 255;

} // namespace

ReadingView::ReadingView(RfcDocument* document, ViewHost* host, QWidget* parent)
    : TextView(parent)
    , m_document(document)
    , m_host(host)
{
    // The hand over links follows the pointer without a button pressed.
    viewport()->setMouseTracking(true);
    // The position pane follows the caret whatever moved it; the rebuilds
    // of the text, which move it a great deal, run frozen and end in place.
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (m_initialised && !updatesFrozen())
            updatePositionStatus();
    });
    setUpMatchScan();
}

ReadingView::~ReadingView()
{
    if (m_host && m_initialised)
        m_host->removeDocumentTab(this);
}

RfcText& ReadingView::rfc() const
{
    return m_document->text();
}

ViewState& ReadingView::shown() const
{
    return m_document->viewState();
}

const LineCuts& ReadingView::cuts() const
{
    return m_document->viewState().cuts;
}

const RfcSettings& ReadingView::settings() const
{
    return m_host->settings();
}

ReadingSession& ReadingView::session() const
{
    return m_host->session();
}

bool ReadingView::isRfcIndexPath() const
{
    return m_document->pathName().endsWith(QLatin1String("rfc-index.txt"), Qt::CaseSensitive);
}

void ReadingView::loadDocument()
{
    if (m_initialised)
        return;
    if (isRfcIndexPath()) {
        loadRfcIndex();
        recordPosition();
    } else {
        loadRfcText();
        // The composition leaves the caret on the last run it formatted,
        // which the control scrolls into view: a reader starts at the top.
        showLineAtTop(0);
    }
    recordPosition();
    setZoomSteps(settings().TextZoom);

    const QString path = m_document->pathName();
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).left(kTabNameLimit);
    m_host->addDocumentTab(name, this);
    m_initialised = true;
}

bool ReadingView::streamFile()
{
    std::string bytes;
    if (!readTextModeFile(QFile::encodeName(m_document->pathName()).toStdString(), bytes))
        return false;
    // The whole file in one piece: the control decodes it whole anyway,
    // and a copy of a big file in pieces costs time and memory.
    streamInPlainText([&bytes] { return std::exchange(bytes, std::string()); });
    return true;
}

void ReadingView::loadRfcText()
{
    std::optional<LineReader> reader =
        LineReader::open(QFile::encodeName(m_document->pathName()).toStdString());
    if (!reader)
        return;

    WaitCursor wait;
    const RfcSettings& options = settings();
    analyseText(rfc(), &*reader, m_document->limits(), options.analysisOptions());
    // The text is streamed afresh below: nothing is cut and no separator is
    // written yet.
    shown() = ViewState();
    // A README or a source file is shown as the plain text it is.
    if (!recognisedAsRfc(rfc()))
        keepAsPlainText(rfc());
    const NavigatorTrees trees = m_host->navigator();
    fillStructureTree(trees.structureTree);
    fillPageTree(trees.pageTree);
    fillRequirementsTree(trees.requirementsTree);

    if (const std::optional<TextFormat> format = options.categoryFormat(kFormatDefault))
        setDefaultFormat(*format);
    if (!streamFile()) {
        thawUpdates();
        return;
    }
    formatRfcText();
    setHeadersAndFootersCut(options.DisableHeaderAndFooterInAllFiles,
                            options.DisableHeaderAndFooterInAllFiles);
    setPageSeparatorsShown(options.ShowPageSeparator);
    // A new composition has the formats' own sizes.
    if (m_zoomSteps != 0)
        applyZoomFactor(zoomScale(m_zoomSteps));

    if (!m_tabsAdded && trees.tabs) {
        trees.tabs->insertDataTab(0, QStringLiteral("Structure"), 0);
        trees.tabs->insertDataTab(1, QStringLiteral("Page"), 1);
        if (trees.requirementsTree)
            trees.tabs->insertDataTab(kRequirementsTab, QStringLiteral("Requirements"), kRequirementsTab);
        m_tabsAdded = true;
    }
}

int ReadingView::charColumn(int shownLine, int byteColumn) const
{
    const int32_t fileIndex = m_document->fileLineOf(ShownLine::atIndex(shownLine)).index();
    const std::vector<int32_t>& latin1 = streamedLatin1Lines();
    const bool byteForByte = std::binary_search(latin1.begin(), latin1.end(), fileIndex);
    return byteColumnToCharColumn(lineText(shownLine), byteColumn, byteForByte);
}

void ReadingView::caretLineColumn(int& line, int& column) const
{
    const int end = selectedRange().end;
    const int shown = lineFromPosition(end);
    column = end - lineStart(shown);
    line = m_document->fileLineOf(ShownLine::atIndex(shown)).index();
}

void ReadingView::updatePositionStatus()
{
    int line = 0;
    int column = 0;
    caretLineColumn(line, column);
    m_host->setPositionPane(QStringLiteral("Ln %1, Col %2").arg(line + 1).arg(column + 1));
}

void ReadingView::caretMoved()
{
    // Loading places the caret before the Navigator has chosen its item.
    if (!m_initialised)
        return;
    selectNavigatorNode();
    updateCurrentIndexEntry(-1);
    updatePositionStatus();
}

int ReadingView::visibleLineCount() const
{
    const QTextBlock top = firstVisibleBlock();
    const qreal height = top.isValid() ? blockBoundingRect(top).height() : 0;
    return height > 0 ? std::max(1, int(viewport()->height() / height)) : 1;
}

void ReadingView::placeInUpperThird(int line)
{
    const int top = firstVisibleLine();
    if (line >= top && line < top + std::max(1, visibleLineCount() / 3))
        return;
    scrollLines(line - top);
}

} // namespace parchly
