// Cited by: the local RFCs that cite the one in front of the reader. The
// graph of the whole folder is built once, in a worker thread, on first use
// and kept in a cache file beside the settings file; every document window
// shows its part in the Navigator tab "Cited by".
#ifndef PARCHLY_FRAME_CITED_BY_H
#define PARCHLY_FRAME_CITED_BY_H

#include "collection/citation_graph.h"

#include <QWidget>
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>

class QLabel;
class QProgressBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace parchly {

class FrameHost;
class MainWindow;

// What the windows read: the graph and the index's titles, never changed
// once published.
struct CitedByData {
    CitationGraph graph;
    std::map<int32_t, std::string> titles;
    bool complete = false; // false while only the cache has been read
};

class CitedByService : public QObject {
    Q_OBJECT
public:
    CitedByService(FrameHost& app, std::string cachePath);
    ~CitedByService() override;

    // The graph of the RFC folder as far as it is known; null before the
    // first is read. The first call, or one after the folder changed,
    // starts the work.
    std::shared_ptr<const CitedByData> data();
    bool isBuilding() const { return m_worker.joinable() && !m_finished; }
    const std::string& cachePath() const { return m_cachePath; }

signals:
    void progress(int done, int total);
    // New data: the cache was read, or the graph brought up to date.
    void dataChanged();

private:
    void start(const std::string& folder);
    void publish(std::shared_ptr<const CitedByData> data, bool finished);

    FrameHost& m_app;
    std::string m_cachePath;
    std::string m_folder; // of the graph being built or shown
    std::shared_ptr<const CitedByData> m_data;
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    bool m_finished = false;
};

// The page of the "Cited by" tab of one document window.
class CitedByPage : public QWidget {
    Q_OBJECT
public:
    CitedByPage(QWidget* parent, MainWindow& window, FrameHost& app, int rfc);

    // Lists the citing RFCs when the graph is there, else starts it and
    // shows its progress; the status bar says how many cite this RFC.
    void fill();
    QTreeWidget* list() const { return m_list; }
    QProgressBar* progressBar() const { return m_progress; }
    // Opens the citing RFC of `item` at its reference to this one.
    void openCiting(QTreeWidgetItem* item);

protected:
    void showEvent(QShowEvent* event) override;

private:
    MainWindow& m_window;
    FrameHost& m_app;
    int m_rfc;
    QLabel* m_note;
    QProgressBar* m_progress;
    QTreeWidget* m_list;
};

// The RFC number of a document: its file name's (rfcN.txt), else 0.
int rfcNumberOfPath(const QString& path);

} // namespace parchly

#endif
