#include "view/text_finder.h"

#include "platform/text_view.h"
#include "view/command_ids.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextDocument>
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

TextFinder::TextFinder(TextView& view)
    : m_view(view)
    , m_matchScanTimer(new QTimer(this))
{
    m_matchScanTimer->setInterval(0);
    connect(m_matchScanTimer, &QTimer::timeout, this, [this] { continueMatchScan(kScanSliceMs); });
    // Any change of the text (headers cut, separators written) moves the
    // matches: they are counted again from a new copy of the text.
    connect(view.document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed == added)
            return; // formats only: the characters are the same
        m_plainTextStale = true;
        if (m_scanActive)
            QTimer::singleShot(0, this, [this] {
                if (m_scanActive)
                    restartMatchScan(m_scanRequest);
            });
    });
    connect(view.verticalScrollBar(), &QScrollBar::valueChanged, this, &TextFinder::markVisibleMatches);
    connect(&view, &QPlainTextEdit::cursorPositionChanged, this, &TextFinder::showMatchCount);
}

void TextFinder::setBar(FindBar* bar)
{
    m_bar = bar;
    if (!bar)
        return;
    connect(bar, &FindBar::searchRequested, this, &TextFinder::runBarSearch);
    connect(bar, &FindBar::requestChanged, this, &TextFinder::highlightMatches);
    connect(bar, &FindBar::closed, this, [this] {
        stopMatchScan();
        m_view.setFocus();
    });
}

bool TextFinder::updateCommand(int id, CommandState& state)
{
    switch (id) {
    case kCmdFind:
        state.enabled = true;
        return true;
    case kCmdFindNext:
    case kCmdFindPrevious:
        state.enabled = m_used;
        return true;
    case kCmdEscape:
        // Escape closes the find bar; otherwise it is the frame's.
        if (!barOpen())
            return false;
        state.enabled = true;
        return true;
    default:
        return false;
    }
}

bool TextFinder::runCommand(int id)
{
    switch (id) {
    case kCmdFind:
        openFind();
        return true;
    case kCmdFindNext:
        findNext(true);
        return true;
    case kCmdFindPrevious:
        findNext(false);
        return true;
    case kCmdEscape:
        if (!barOpen())
            return false;
        m_bar->dismiss();
        return true;
    default:
        return false;
    }
}

void TextFinder::openFind()
{
    m_used = true;
    const QString selected = m_view.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_find.text = selected;
    if (m_bar) {
        m_bar->open(m_find.text);
        highlightMatches();
        return;
    }
    if (!m_dialog) {
        m_dialog = new FindDialog(m_find, &m_view);
        connect(m_dialog, &FindDialog::findRequested, this, [this](const FindRequest& request) {
            m_find = request;
            findNextMatch();
        });
        // The keys go back to the text once the dialog is done with.
        connect(m_dialog, &QDialog::finished, this, [this] { m_view.setFocus(); });
    } else {
        m_dialog->textEdit()->setText(m_find.text);
    }
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void TextFinder::findNext(bool forward)
{
    if (m_bar && !m_bar->textEdit()->text().isEmpty()) {
        runBarSearch(forward);
        return;
    }
    if (m_find.text.isEmpty()) {
        openFind();
        return;
    }
    // Find Previous searches against the dialog's direction, which stays.
    const bool down = m_find.down;
    m_find.down = forward ? down : !down;
    findNextMatch();
    m_find.down = down;
}

void TextFinder::runBarSearch(bool down)
{
    m_used = true;
    m_find = m_bar->request(down);
    findNextMatch();
}

FindOutcome TextFinder::findNextMatch()
{
    const FindOutcome outcome = selectNextMatch(m_find);
    emit outcomeNoted(findOutcomeText(outcome, m_find));
    if (outcome == kNotFound) {
        QApplication::beep();
        return outcome;
    }
    centreLine(m_view.lineFromPosition(m_view.selectedRange().end));
    emit matchSelected();
    showMatchCount();
    return outcome;
}

const QString& TextFinder::plainTextSnapshot()
{
    if (m_plainTextStale) {
        m_plainText = m_view.document()->toPlainText();
        m_plainTextStale = false;
    }
    return m_plainText;
}

void TextFinder::highlightMatches()
{
    if (!barOpen()) {
        stopMatchScan();
        return;
    }
    restartMatchScan(m_bar->request(true));
}

void TextFinder::stopMatchScan()
{
    m_scanActive = false;
    m_matchScanTimer->stop();
    m_matchScan.start(QString(), FindRequest());
    m_view.setExtraSelections({});
}

void TextFinder::restartMatchScan(const FindRequest& request)
{
    m_scanRequest = request;
    m_scanActive = true;
    m_matchScan.start(plainTextSnapshot(), request);
    // One slice at once, whatever the machine's speed: the count starts
    // while the reader types and the rest follows between events.
    continueMatchScan(0);
}

void TextFinder::continueMatchScan(int budgetMs)
{
    if (m_matchScan.scanFor(budgetMs))
        m_matchScanTimer->stop();
    else if (!m_matchScanTimer->isActive())
        m_matchScanTimer->start();
    markVisibleMatches();
    showMatchCount();
}

bool TextFinder::finishMatchScan(const FindRequest& request)
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
void TextFinder::markVisibleMatches()
{
    if (!m_scanActive || !barOpen()) {
        if (!m_view.extraSelections().isEmpty())
            m_view.setExtraSelections({});
        return;
    }
    const TextSelection visible = m_view.visibleRange();
    const std::vector<int>& starts = m_matchScan.starts();
    const int length = m_matchScan.matchLength();
    QTextCharFormat format;
    format.setBackground(QColor(255, 230, 90));
    format.setForeground(Qt::black);
    QList<QTextEdit::ExtraSelection> marks;
    for (int i = m_matchScan.firstAtOrAfter(visible.start - length + 1);
         i < int(starts.size()) && starts[i] < visible.end; ++i) {
        QTextCursor cursor(m_view.document());
        cursor.setPosition(starts[i]);
        cursor.setPosition(starts[i] + length, QTextCursor::KeepAnchor);
        marks.append({cursor, format});
    }
    m_view.setExtraSelections(marks);
}

void TextFinder::showMatchCount()
{
    if (!m_bar || !m_scanActive)
        return;
    const TextSelection selected = m_view.selectedRange();
    const int current = m_matchScan.done() ? m_matchScan.indexOf(selected.start, selected.end) : -1;
    m_bar->setMatchCount(current, int(m_matchScan.starts().size()), m_matchScan.done());
}

FindOutcome TextFinder::selectNextMatch(const FindRequest& request)
{
    if (!finishMatchScan(request))
        return kNotFound;
    const std::vector<int>& starts = m_matchScan.starts();
    if (starts.empty())
        return kNotFound;
    const TextSelection selected = m_view.selectedRange();
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
    m_view.setSelection(starts[index], starts[index] + m_matchScan.matchLength());
    return outcome;
}

void TextFinder::centreLine(int line)
{
    // A match already in view stays where it is; one out of view comes to
    // the middle, with the lines before it to read it in.
    const int top = m_view.firstVisibleLine();
    const int visible = m_view.visibleLineCount();
    if (line >= top && line < top + visible - 1)
        return;
    m_view.scrollLines(line - visible / 2 - top);
}

} // namespace parchly
