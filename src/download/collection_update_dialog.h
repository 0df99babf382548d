// Update RFC Collection in the "Download" dialog: the update runs on a
// worker thread while the dialog shows rsync's (or the HTTPS fetch's)
// progress, and ends with the summary and the list of new RFCs, each
// openable.
#ifndef PARCHLY_DOWNLOAD_COLLECTION_UPDATE_DIALOG_H
#define PARCHLY_DOWNLOAD_COLLECTION_UPDATE_DIALOG_H

#include <QDialog>
#include <QTimer>

#include <atomic>
#include <memory>
#include <mutex>

#include "update/collection_update.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QPlainTextEdit;
class QThread;

namespace parchly {

class RfcList;

class CollectionUpdateDialog : public QDialog {
    Q_OBJECT

public:
    explicit CollectionUpdateDialog(const UpdateOptions& options, QWidget* parent = nullptr);
    ~CollectionUpdateDialog() override;

    bool running() const { return m_thread != nullptr; }
    const UpdateSummary& summary() const { return m_summary; }

public slots:
    // "&Start": runs the update.
    void start();
    // "&Cancel" and closing: a running update is stopped (its partial files
    // removed) and the dialog closes once it has.
    void reject() override;

signals:
    void openRfc(int32_t number);
    // The update ended; the folder may hold new files.
    void updated();

private:
    void showProgress();
    void showEnd();

    UpdateOptions m_options;
    std::atomic<bool> m_cancel{false};
    // What the worker last reported; guarded by m_progressLock.
    std::mutex m_progressLock;
    UpdateProgress m_progress;
    bool m_progressChanged = false;
    std::shared_ptr<UpdateSummary> m_result;
    UpdateSummary m_summary;
    QThread* m_thread = nullptr;
    bool m_closeWhenEnded = false;
    QTimer m_timer;

    QLabel* m_status;
    QProgressBar* m_bar;
    QLabel* m_files;
    QLabel* m_received;
    QLabel* m_speed;
    QLabel* m_remaining;
    QLabel* m_counts;
    RfcList* m_list;
    QPlainTextEdit* m_failures;
    QPushButton* m_start;
    QPushButton* m_open;
    QPushButton* m_cancelButton;
};

} // namespace parchly

#endif
