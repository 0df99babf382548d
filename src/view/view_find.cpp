// The find bar's matches in the reading view: counted a slice at a time
// between the events of the window, marked only where the reader can see
// them, and stepped through with the current one in the middle of the view.
#include "view/reading_view.h"

#include "view/find.h"
#include "view/view_host.h"

#include <QApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <climits>

namespace parchly {

namespace {

// How long one slice of counting may hold the window: well under the 50 ms
// at which typing starts to feel stuck.
constexpr int kScanSliceMs = 8;

bool sameMatches(const FindRequest& a, const FindRequest& b)
{
    return a.text == b.text && a.matchCase == b.matchCase && a.wholeWord == b.wholeWord;
}

} // namespace

void ReadingView::setUpMatchScan()
{
    m_matchScanTimer = new QTimer(this);
    m_matchScanTimer->setInterval(0);
    connect(m_matchScanTimer, &QTimer::timeout, this, [this] { continueMatchScan(kScanSliceMs); });
    // Any change of the text (headers cut, separators written) moves the
    // matches: they are counted again from a new copy of the text.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed == added)
            return; // formats only: the characters are the same
        m_plainTextStale = true;
        if (m_scanActive)
            QTimer::singleShot(0, this, [this] {
                if (m_scanActive)
                    restartMatchScan(m_scanRequest);
            });
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ReadingView::markVisibleMatches);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &ReadingView::showMatchCount);
}

const QString& ReadingView::plainTextSnapshot()
{
    if (m_plainTextStale) {
        m_plainText = document()->toPlainText();
        m_plainTextStale = false;
    }
    return m_plainText;
}

void ReadingView::highlightMatches()
{
    if (!m_findBar || !m_findBar->isVisible()) {
        stopMatchScan();
        return;
    }
    restartMatchScan(m_findBar->request(true));
}

void ReadingView::stopMatchScan()
{
    m_scanActive = false;
    m_matchScanTimer->stop();
    m_matchScan.start(QString(), FindRequest());
    setExtraSelections({});
}

void ReadingView::restartMatchScan(const FindRequest& request)
{
    m_scanRequest = request;
    m_scanActive = true;
    m_matchScan.start(plainTextSnapshot(), request);
    // One slice at once, whatever the machine's speed: the count starts
    // while the reader types and the rest follows between events.
    continueMatchScan(0);
}

void ReadingView::continueMatchScan(int budgetMs)
{
    if (m_matchScan.scanFor(budgetMs))
        m_matchScanTimer->stop();
    else if (!m_matchScanTimer->isActive())
        m_matchScanTimer->start();
    markVisibleMatches();
    showMatchCount();
}

bool ReadingView::finishMatchScan(const FindRequest& request)
{
    if (!m_scanActive || m_plainTextStale || !sameMatches(request, m_scanRequest))
        restartMatchScan(request);
    // One step of the reader's (F3, Enter) may wait for the rest.
    m_matchScan.scanFor(INT_MAX);
    m_matchScanTimer->stop();
    return !request.text.isEmpty();
}

// The matches on the lines in view get the find bar's colour; the current
// one stands out by the selection's own colour above it.
void ReadingView::markVisibleMatches()
{
    if (!m_scanActive || !m_findBar || !m_findBar->isVisible()) {
        if (!extraSelections().isEmpty())
            setExtraSelections({});
        return;
    }
    QTextBlock block = firstVisibleBlock();
    if (!block.isValid())
        return;
    const int first = block.position();
    const QPointF offset = contentOffset();
    const int height = viewport()->height();
    int last = first;
    for (; block.isValid(); block = block.next()) {
        if (blockBoundingGeometry(block).translated(offset).top() > height)
            break;
        last = block.position() + block.length();
    }
    const std::vector<int>& starts = m_matchScan.starts();
    const int length = m_matchScan.matchLength();
    QTextCharFormat format;
    format.setBackground(QColor(255, 230, 90));
    format.setForeground(Qt::black);
    QList<QTextEdit::ExtraSelection> marks;
    for (int i = m_matchScan.firstAtOrAfter(first - length + 1); i < int(starts.size()) && starts[i] < last;
         ++i) {
        QTextCursor cursor(document());
        cursor.setPosition(starts[i]);
        cursor.setPosition(starts[i] + length, QTextCursor::KeepAnchor);
        marks.append({cursor, format});
    }
    setExtraSelections(marks);
}

void ReadingView::showMatchCount()
{
    if (!m_findBar || !m_scanActive)
        return;
    const TextSelection selected = selectedRange();
    const int current = m_matchScan.done() ? m_matchScan.indexOf(selected.start, selected.end) : -1;
    m_findBar->setMatchCount(current, int(m_matchScan.starts().size()), m_matchScan.done());
}

FindOutcome ReadingView::selectNextMatch(const FindRequest& request)
{
    if (!finishMatchScan(request))
        return kNotFound;
    const std::vector<int>& starts = m_matchScan.starts();
    if (starts.empty())
        return kNotFound;
    const TextSelection selected = selectedRange();
    FindOutcome outcome = kFound;
    int index = 0;
    if (request.down) {
        index = m_matchScan.firstAtOrAfter(selected.end);
        if (index == int(starts.size())) {
            index = 0;
            outcome = kFoundAfterWrap;
        }
    } else {
        index = m_matchScan.firstAtOrAfter(selected.start) - 1;
        if (index < 0) {
            index = int(starts.size()) - 1;
            outcome = kFoundAfterWrap;
        }
    }
    setSelection(starts[index], starts[index] + m_matchScan.matchLength());
    return outcome;
}

void ReadingView::centreLine(int line)
{
    // A match already in view stays where it is; one out of view comes to
    // the middle, with the lines before it to read it in.
    const int top = firstVisibleLine();
    const int visible = visibleLineCount();
    if (line >= top && line < top + visible - 1)
        return;
    scrollLines(line - visible / 2 - top);
}

} // namespace parchly
