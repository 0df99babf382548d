// Find and Find Next in a reading view. With a find bar (a view in a
// document window) the matches are counted a slice at a time between the
// events of the window, marked only where the reader can see them, and
// stepped through with the current one in the middle of the view; without
// one the Find dialog asks.
#ifndef PARCHLY_VIEW_TEXT_FINDER_H
#define PARCHLY_VIEW_TEXT_FINDER_H

#include "view/command_target.h"
#include "view/find.h"
#include "view/find_matches.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QTimer;

namespace parchly {

class TextView;

class TextFinder : public QObject, public CommandTarget {
    Q_OBJECT
public:
    explicit TextFinder(TextView& view);

    void setBar(FindBar* bar);
    FindBar* bar() const { return m_bar; }
    FindDialog* dialog() const { return m_dialog; }

    // Find (the bar, else the dialog, with the selected words), Find Next,
    // Find Previous, and Escape while the bar is open.
    bool updateCommand(int id, CommandState& state) override;
    bool runCommand(int id) override;

signals:
    // The status bar's note on a search's outcome (empty for a plain match).
    void outcomeNoted(const QString& text);
    // A search selected a match: the caret moved.
    void matchSelected();

private:
    void openFind();
    void findNext(bool down);
    void runBarSearch(bool down);
    FindOutcome findNextMatch();
    const QString& plainTextSnapshot();
    void highlightMatches();
    void restartMatchScan(const FindRequest& request);
    void continueMatchScan(int budgetMs);
    void stopMatchScan();
    // Counts the rest at once; false when there is nothing to look for.
    bool finishMatchScan(const FindRequest& request);
    void markVisibleMatches();
    void showMatchCount();
    // Selects the match after (before, searching up) the selection, going
    // round the text once.
    FindOutcome selectNextMatch(const FindRequest& request);
    // Scrolls `line` to the middle of the view unless it is in view.
    void centreLine(int line);
    bool barOpen() const { return m_bar && m_bar->isVisible(); }

    TextView& m_view;
    FindRequest m_find;
    bool m_used = false;
    QPointer<FindDialog> m_dialog;
    QPointer<FindBar> m_bar;
    MatchScan m_matchScan;
    QTimer* m_matchScanTimer;
    FindRequest m_scanRequest;
    bool m_scanActive = false;
    QString m_plainText;
    bool m_plainTextStale = true;
};

} // namespace parchly

#endif
