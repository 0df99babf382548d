// Find in RFCs: a dock of the main window that searches the text of every
// RFC of the local folder (CollectionSearch, in worker threads) and lists
// the hits while the search runs: RFC, title, section, the line with the
// hit marked, hits per RFC. Double-clicking a hit opens the RFC there with
// the find highlights on.
#ifndef PARCHLY_FRAME_FIND_IN_RFCS_DOCK_H
#define PARCHLY_FRAME_FIND_IN_RFCS_DOCK_H

#include "collection/collection_search.h"

#include <QDockWidget>
#include <memory>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace parchly {

class FrameHost;
class MainWindow;

class FindInRfcsDock : public QDockWidget {
    Q_OBJECT
public:
    FindInRfcsDock(MainWindow& window, FrameHost& app);
    ~FindInRfcsDock() override;

    // Shows the dock with `text` (when not empty) ready to search.
    void showWith(const QString& text);
    // Searches the RFC folder for the form's text with its options.
    void startSearch();
    void cancelSearch();
    bool isSearching() const { return m_worker.joinable(); }

    // Order of the list.
    enum class Order { ByRfc, ByHits };
    void setOrder(Order order);

    QLineEdit* textEdit() const { return m_text; }
    QCheckBox* matchCaseBox() const { return m_matchCase; }
    QCheckBox* wholeWordBox() const { return m_wholeWord; }
    QCheckBox* expressionBox() const { return m_expression; }
    QTreeWidget* results() const { return m_results; }
    QLabel* statusLabel() const { return m_status; }
    QProgressBar* progressBar() const { return m_progress; }
    // Opens the RFC of a hit item at the hit.
    void openHit(QTreeWidgetItem* item);

signals:
    void searchFinished();

private:
    void takeResults(int generation);
    // Moves queued files into the list for at most one batch's time; true
    // when none is left.
    bool takeBatch();
    // A file's hit lines are made when its item is first opened.
    void addHitItems(QTreeWidgetItem* item);
    void finishSearch(int generation, const SearchSummary& summary);
    void addFile(FileHits&& file);
    bool orderedBefore(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const;
    void updateButtons();

    MainWindow& m_window;
    FrameHost& m_app;
    QLineEdit* m_text;
    QCheckBox* m_matchCase;
    QCheckBox* m_wholeWord;
    QCheckBox* m_expression;
    QPushButton* m_find;
    QPushButton* m_cancel;
    QComboBox* m_order;
    QProgressBar* m_progress;
    QLabel* m_status;
    QTreeWidget* m_results;
    QTimer* m_progressTimer;
    bool m_wholeWordChosen = false; // the user set the box: no default for one word

    // Shared with the worker: the files it found, waiting for the window.
    std::unique_ptr<CollectionSearch> m_search;
    std::mutex m_mutex;
    std::deque<FileHits> m_pending;
    std::size_t m_total = 0;
    std::thread m_worker;
    SearchQuery m_query; // of the list shown
    std::vector<FileHits> m_files; // of the list's items, by their kFileRole
    int m_generation = 0; // of the search whose results are taken
};

} // namespace parchly

#endif
