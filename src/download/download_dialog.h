// The modal "Download" dialog through which every download runs: it owns
// the request, starts the worker and shows its progress on a 20 ms timer.
#ifndef PARCHLY_DOWNLOAD_DOWNLOAD_DIALOG_H
#define PARCHLY_DOWNLOAD_DOWNLOAD_DIALOG_H

#include "download/download_request.h"

#include <QBasicTimer>
#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace parchly {

class DownloadDialog : public QDialog {
    Q_OBJECT

public:
    explicit DownloadDialog(QWidget* parent = nullptr);

    // The request the caller fills (url, localFolder, kind) before showing
    // the dialog; its questions go through the program's dialogs.
    DownloadRequest& request() { return *m_request; }

    // The clock of the elapsed and remaining times, in seconds since 1970.
    void setClock(std::function<int64_t()> clock) { m_clock = std::move(clock); }

    // Shows the request's address and local file with cleared progress;
    // done when the dialog first opens.
    void resetFields();

    bool timerRunning() const { return m_timer.isActive(); }

public slots:
    // "&Start": checks the address and starts the worker.
    void start();
    // One look at the running download.
    void tick();
    // "&Cancel" and closing: asks before abandoning a running download.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void showLocalFile();
    void showEnd();
    // The worker has returned after the end: the last look, and the close
    // the user asked for.
    void workerReturned();

    std::shared_ptr<DownloadRequest> m_request = std::make_shared<DownloadRequest>();
    std::function<int64_t()> m_clock;
    QBasicTimer m_timer;
    bool m_opened = false;
    bool m_progressRangeSet = false;
    // The download has ended; the timer runs on only to show the status the
    // worker's saving step gives, until the worker has returned.
    bool m_ended = false;
    // The flashing bar of an unknown length: full on every other tick.
    bool m_unknownLengthFlash = false;

    QLineEdit* m_remoteFile;
    QLineEdit* m_localFile;
    QLabel* m_status;
    QProgressBar* m_progress;
    QLabel* m_percent;
    QLabel* m_speed;
    QLabel* m_fileLength;
    QLabel* m_received;
    QLabel* m_elapsed;
    QLabel* m_remaining;
    QCheckBox* m_overwrite;
    QCheckBox* m_closeWhenFinished;
    QPushButton* m_start;
    QPushButton* m_cancel;
};

} // namespace parchly

#endif
