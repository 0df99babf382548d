#include "view/reading_view.h"
#include "view/reading_session.h"

#include "analysis/line_mapping.h"
#include "settings/settings.h"
#include "platform/text_decoding.h"
#include "platform/wait_cursor.h"
#include "view/line_placement.h"
#include "platform/text_geometry.h"
#include "view/rfc_document.h"
#include "view/shown_formats.h"
#include "view/view_host.h"

#include <QScrollBar>
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
    , m_finder(*this)
    , m_zoom(*this)
    , m_errataMarkers(*this, *document, *host)
    , m_cutter(*this, *document, *host, m_zoom)
    , m_positions(*this, *document, *host)
    , m_index(*this, *document, *host)
    , m_links(*this, *document, *host, m_errataMarkers, m_index)
{
    // The hand over links follows the pointer without a button pressed.
    viewport()->setMouseTracking(true);
    // The position pane follows the caret whatever moved it; the rebuilds
    // of the text, which move it a great deal, run frozen and end in place.
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (!m_initialised || updatesFrozen())
            return;
        m_document->keepCurrentLine(ShownLine::atIndex(lineFromPosition(selectedRange().end)));
        updatePositionStatus();
    });
    // Scrolled away from the caret, the reader reads the top of the view:
    // the Navigator follows that line rather than keep the section left.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!m_initialised || updatesFrozen())
            return;
        const int caret = lineFromPosition(selectedRange().end);
        const int top = firstVisibleLine();
        const int line = caret >= top && caret < top + visibleLineCount() ? caret : top;
        if (line != m_document->currentLine().index())
            m_document->setCurrentLine(ShownLine::atIndex(line));
    });
    connect(m_document, &RfcDocument::loaded, this, &ReadingView::showText);
    // Composed afresh in new formats, the text is shown where the reader
    // was: a place in the file's lines outlasts the text and its cuts.
    connect(m_document, &RfcDocument::aboutToRecompose, this,
            [this] { m_placeBeforeRecomposing = m_positions.current(); });
    connect(m_document, &RfcDocument::formatsChanged, this, [this] {
        showText();
        m_positions.restore(m_placeBeforeRecomposing);
    });
    connect(m_document, &RfcDocument::moveRequested, this, &ReadingView::moveTo);
    connect(m_document, &RfcDocument::cutsRequested, this,
            [this](bool headers, bool footers) { m_cutter.setHeadersAndFootersCut(headers, footers); });
    connect(m_document, &RfcDocument::separatorsRequested, this,
            [this](bool show) { m_cutter.setPageSeparatorsShown(show); });
    connect(m_document, &RfcDocument::errataChanged, this, [this] {
        if (m_initialised)
            m_errataMarkers.mark();
    });
    connect(&m_finder, &TextFinder::outcomeNoted, this,
            [this](const QString& text) { m_host->showStatusMessage(text); });
    connect(&m_finder, &TextFinder::matchSelected, this, &ReadingView::caretMoved);
}

ReadingView::~ReadingView()
{
    if (m_host && m_initialised)
        m_host->removeDocumentTab(this);
}

void ReadingView::loadDocument()
{
    if (m_initialised)
        return;
    const bool index = m_document->isIndexPath();
    // The document announces the loaded text, which showText() puts here.
    if (!m_document->isLoaded()) {
        WaitCursor wait;
        m_document->load(m_host->settings(), m_host->indexStatus());
    }
    if (index) {
        m_positions.record();
    } else {
        // The composition leaves the caret on the last run it formatted,
        // which the control scrolls into view: a reader starts at the top.
        putLineAtTop(*this, 0);
        caretMoved();
    }
    m_positions.record();
    m_zoom.setSteps(m_host->settings().TextZoom);

    const QString path = m_document->pathName();
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).left(kTabNameLimit);
    m_host->addDocumentTab(name, this);
    m_initialised = true;
    // The trees chose their items before the caret had a place.
    m_document->setCurrentLine(ShownLine::atIndex(lineFromPosition(selectedRange().end)));
}

void ReadingView::showText()
{
    WaitCursor wait;
    const RfcSettings& options = m_host->settings();
    if (const std::optional<TextFormat> format = options.categoryFormat(kFormatDefault))
        setDefaultFormat(*format);
    showDecodedText(m_document->shownText());
    if (m_document->text().isIndex) {
        m_index.show();
        return;
    }
    // Nothing is cut and no separator is written in the text shown afresh.
    m_document->setViewState(ViewState());
    formatShownText(*this, m_document->composition(), options);
    // Contents entries are no links once an RFC is shown in "Default" alone.
    if (options.UseOnlyDefaultText)
        m_host->session().contentLinksOff = true;
    m_errataMarkers.mark();
    m_cutter.setHeadersAndFootersCut(options.DisableHeaderAndFooterInAllFiles,
                                     options.DisableHeaderAndFooterInAllFiles);
    m_cutter.setPageSeparatorsShown(options.ShowPageSeparator);
    // A new composition has the formats' own sizes.
    m_zoom.scaleFreshText();
}

void ReadingView::moveTo(const DocumentPlace& place)
{
    const int line = place.line.index();
    const int start = lineStart(line);
    if (line < 0 || line >= lineCount() || start < 0)
        return;
    if (place.byteColumn < 0) {
        putLineAtTop(*this, line);
    } else {
        const int position = start + charColumnOf(*this, *m_document, line, place.byteColumn);
        setSelection(position, position);
        bringIntoUpperThird(*this, line);
    }
    caretMoved();
    m_positions.record();
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
    m_document->setCurrentLine(ShownLine::atIndex(lineFromPosition(selectedRange().end)));
    updateCurrentIndexEntry(-1);
    updatePositionStatus();
}

void ReadingView::setCaretLineColumn(int line, int column)
{
    const int shown = m_document->shownLineOf(FileLine::atIndex(line)).index();
    const int start = lineStart(shown);
    if (shown < 0 || start < 0)
        return;
    const int length = lengthWithoutLineEnd(lineText(shown));
    const int position = start + std::clamp(column, 0, length);
    setSelection(position, position);
    bringIntoUpperThird(*this, shown);
    caretMoved();
}

void ReadingView::updateCurrentIndexEntry(int line)
{
    m_index.updateCurrentEntry(line);
}

const PositionHistory& ReadingView::history() const
{
    return m_document->history();
}

} // namespace parchly
