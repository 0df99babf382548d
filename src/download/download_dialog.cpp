#include "download/download_dialog.h"

#include "download/gui_download_asker.h"
#include "download/progress_texts.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <ctime>

namespace parchly {

namespace {

constexpr int kTickMilliseconds = 20;

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

QLabel* valueLabel(const char* name)
{
    auto* label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setMinimumWidth(120);
    return label;
}

} // namespace

DownloadDialog::DownloadDialog(QWidget* parent)
    : QDialog(parent)
    , m_clock([] { return static_cast<int64_t>(std::time(nullptr)); })
    , m_remoteFile(new QLineEdit)
    , m_localFile(new QLineEdit)
    , m_status(valueLabel("status"))
    , m_progress(new QProgressBar)
    , m_percent(valueLabel("percent"))
    , m_speed(valueLabel("speed"))
    , m_fileLength(valueLabel("fileLength"))
    , m_received(valueLabel("received"))
    , m_elapsed(valueLabel("timeElapsed"))
    , m_remaining(valueLabel("timeRemaining"))
    , m_overwrite(new QCheckBox(QStringLiteral("O&verwrite if exists")))
    , m_closeWhenFinished(new QCheckBox(QStringLiteral("Cl&ose this dialog when finished")))
    , m_start(new QPushButton(QStringLiteral("&Start")))
    , m_cancel(new QPushButton(QStringLiteral("&Cancel")))
{
    setWindowTitle(QStringLiteral("Download"));
    m_request->asker = std::make_shared<GuiDownloadAsker>();

    m_remoteFile->setObjectName(QStringLiteral("remoteFile"));
    m_remoteFile->setReadOnly(true);
    m_remoteFile->setMinimumWidth(360);
    m_localFile->setObjectName(QStringLiteral("localFile"));
    m_localFile->setReadOnly(true);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_overwrite->setObjectName(QStringLiteral("overwrite"));
    m_closeWhenFinished->setObjectName(QStringLiteral("closeWhenFinished"));
    m_start->setObjectName(QStringLiteral("start"));
    m_start->setDefault(true);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setAutoDefault(false);

    auto* file = new QGroupBox(QStringLiteral("File"));
    auto* fileForm = new QFormLayout(file);
    fileForm->addRow(QStringLiteral("Remote File:"), m_remoteFile);
    fileForm->addRow(QStringLiteral("Local File:"), m_localFile);

    auto* download = new QGroupBox(QStringLiteral("Download"));
    auto* downloadForm = new QFormLayout(download);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_percent);
    downloadForm->addRow(QStringLiteral("Status:"), m_status);
    downloadForm->addRow(QStringLiteral("Progress:"), progressRow);
    downloadForm->addRow(QStringLiteral("Speed:"), m_speed);
    downloadForm->addRow(QStringLiteral("File Length (bytes):"), m_fileLength);
    downloadForm->addRow(QStringLiteral("Received (bytes):"), m_received);
    downloadForm->addRow(QStringLiteral("Time elapsed (h:mm:ss):"), m_elapsed);
    downloadForm->addRow(QStringLiteral("Time remaining (h:mm:ss):"), m_remaining);

    auto* options = new QGroupBox(QStringLiteral("Options"));
    auto* optionsColumn = new QVBoxLayout(options);
    optionsColumn->addWidget(m_overwrite);
    optionsColumn->addWidget(m_closeWhenFinished);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_start);
    buttons->addWidget(m_cancel);

    auto* column = new QVBoxLayout(this);
    column->addWidget(file);
    column->addWidget(download);
    column->addWidget(options);
    column->addLayout(buttons);

    connect(m_start, &QPushButton::clicked, this, &DownloadDialog::start);
    connect(m_cancel, &QPushButton::clicked, this, &DownloadDialog::reject);
    connect(m_remoteFile, &QLineEdit::editingFinished, this, &DownloadDialog::showLocalFile);
}

void DownloadDialog::showEvent(QShowEvent* event)
{
    if (!m_opened) {
        m_opened = true;
        resetFields();
    }
    QDialog::showEvent(event);
}

void DownloadDialog::resetFields()
{
    m_remoteFile->setText(text(m_request->url));
    m_localFile->setText(text(m_request->localFolder + localFileName(m_request->localName, m_request->url)));
    m_status->setText(QString::fromLatin1(kStatusReady));
    m_speed->setText(QStringLiteral("0 B/s"));
    // A failed download never reaches the percent: it must not show the
    // previous download's.
    m_percent->clear();
    m_fileLength->setText(QStringLiteral("0"));
    m_received->setText(QStringLiteral("0"));
    m_elapsed->setText(QStringLiteral("00:00:00"));
    m_remaining->setText(QStringLiteral("00:00:00"));
    m_progressRangeSet = false;
    m_progress->setValue(0);
    m_remoteFile->setReadOnly(m_request->kind != SingleRfc);
}

void DownloadDialog::showLocalFile()
{
    m_localFile->setText(text(m_request->localFolder
                              + localFileName(m_request->localName, m_remoteFile->text().toStdString())));
}

void DownloadDialog::start()
{
    // The previous worker is still in its saving step: it owns the request.
    if (workerActive(*m_request))
        return;
    if (m_request->kind == Collection
        && dialogs().message(this, QStringLiteral("The operation may take a long time, continue?"),
                             MessageButtons::OkCancel, MessageIcon::Question)
            != MessageAnswer::Ok)
        return;
    m_request->url = m_remoteFile->text().toStdString();
    if (!parseDownloadUrl(*m_request)) {
        m_status->setText(QString::fromLatin1(kStatusInvalidUrl));
        return;
    }
    m_start->setEnabled(false);
    m_request->overwrite = m_overwrite->isChecked();
    resetFields();
    m_ended = false;
    m_unknownLengthFlash = false;
    startDownload(m_request);
    m_timer.start(kTickMilliseconds, this);
}

void DownloadDialog::reject()
{
    const bool unpacking = m_request->unpacking;
    if ((m_request->running || unpacking)
        && dialogs().message(
               this, unpacking ? QStringLiteral("Abort unpacking?") : QStringLiteral("Abort downloading?"),
               MessageButtons::OkCancel, MessageIcon::Question)
            != MessageAnswer::Ok)
        return;
    cancelDownload(*m_request);
    m_timer.stop();
    QDialog::reject();
}

void DownloadDialog::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId())
        tick();
    else
        QDialog::timerEvent(event);
}

void DownloadDialog::tick()
{
    DownloadRequest& request = *m_request;
    m_status->setText(text(request.status.get()));
    if (m_ended) {
        if (request.unpacking) {
            const int percent = request.unpackPercent;
            m_progress->setValue(percent);
            m_percent->setText(QStringLiteral("%1%").arg(percent));
        }
        if (!workerActive(request))
            workerReturned();
        return;
    }

    const uint64_t received = request.received;
    // A length the data has passed was wrong: unknown from now on.
    if (request.totalLength > 0 && received > request.totalLength)
        request.totalLength = 0;
    const uint64_t total = request.totalLength;
    m_fileLength->setText(total == 0 ? QStringLiteral("?") : text(formatByteCount(total)));
    m_received->setText(received > 0 ? text(formatByteCount(received)) : QStringLiteral("?"));
    if (!m_progressRangeSet && (total > 0 || received > 0)) {
        m_progressRangeSet = true;
        m_speed->setText(QStringLiteral("?"));
    }
    if (total == 0 && received > 0) {
        m_percent->setText(QStringLiteral("?%"));
        m_unknownLengthFlash = !m_unknownLengthFlash;
        m_progress->setValue(m_unknownLengthFlash ? 100 : 0);
    } else if (total > 0) {
        const int percent = static_cast<int>(double(received) * 100 / total);
        m_progress->setValue(percent);
        m_percent->setText(QStringLiteral("%1%").arg(percent));
    }

    const int64_t startTime = request.startTime;
    if (startTime >= 1 && received > 0) {
        const int64_t elapsed = std::max<int64_t>(0, m_clock() - startTime);
        m_elapsed->setText(text(formatDuration(elapsed)));
        m_speed->setText(elapsed > 0 ? text(formatSpeed(static_cast<uint64_t>(received / elapsed)))
                                     : QStringLiteral("?"));
        if (total == 0)
            m_remaining->setText(QStringLiteral("??:??:??"));
        else if (total >= received)
            m_remaining->setText(
                text(formatDuration(static_cast<int64_t>(double(elapsed) * (total - received) / received))));
    }

    if (request.running) {
        request.overwrite = m_overwrite->isChecked();
        return;
    }
    showEnd();
}

void DownloadDialog::showEnd()
{
    DownloadRequest& request = *m_request;
    const uint64_t received = request.received;
    if (request.totalLength == 0 && received > 0) {
        m_fileLength->setText(text(formatByteCount(received)));
        m_percent->setText(QStringLiteral("100%"));
        m_remaining->setText(QStringLiteral("00:00:00"));
        m_progress->setValue(100);
    }
    m_ended = true;
    request.totalLength = 0;
    request.received = 0;
    request.startTime = 0;
    if (!workerActive(request))
        workerReturned();
}

void DownloadDialog::workerReturned()
{
    m_timer.stop();
    // The worker may have said its last word after this tick read the
    // status ("Saving", then "Downloaded"): the last tick shows it.
    m_status->setText(text(m_request->status.get()));
    // Only now: a collection is still being unpacked after its download.
    m_start->setEnabled(true);
    if (m_closeWhenFinished->isChecked())
        accept();
}

} // namespace parchly
