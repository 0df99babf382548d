#include "download/collection_update_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include "download/progress_texts.h"
#include "download/rfc_list.h"
#include "platform/dialogs.h"

namespace parchly {

namespace {

constexpr int kTickMilliseconds = 100;

QLabel* valueLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

CollectionUpdateDialog::CollectionUpdateDialog(const UpdateOptions& options, QWidget* parent)
    : QDialog(parent)
    , m_options(options)
{
    setWindowTitle(QStringLiteral("Download"));
    auto* layout = new QVBoxLayout(this);

    auto* fileBox = new QGroupBox(QStringLiteral("File"), this);
    auto* fileForm = new QFormLayout(fileBox);
    auto* source = new QLineEdit(QString::fromStdString(options.source), fileBox);
    source->setObjectName(QStringLiteral("source"));
    source->setReadOnly(true);
    auto* folder = new QLineEdit(QString::fromStdString(options.folder), fileBox);
    folder->setObjectName(QStringLiteral("localFolder"));
    folder->setReadOnly(true);
    fileForm->addRow(QStringLiteral("Collection:"), source);
    fileForm->addRow(QStringLiteral("Local Folder:"), folder);
    layout->addWidget(fileBox);

    auto* progressBox = new QGroupBox(QStringLiteral("Download"), this);
    auto* progressForm = new QFormLayout(progressBox);
    m_status = valueLabel(progressBox, "status");
    m_status->setText(QStringLiteral("Ready"));
    m_bar = new QProgressBar(progressBox);
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_files = valueLabel(progressBox, "files");
    m_received = valueLabel(progressBox, "received");
    m_speed = valueLabel(progressBox, "speed");
    m_remaining = valueLabel(progressBox, "remaining");
    progressForm->addRow(QStringLiteral("Status:"), m_status);
    progressForm->addRow(QStringLiteral("Progress:"), m_bar);
    progressForm->addRow(QStringLiteral("Files:"), m_files);
    progressForm->addRow(QStringLiteral("Received (bytes):"), m_received);
    progressForm->addRow(QStringLiteral("Speed:"), m_speed);
    progressForm->addRow(QStringLiteral("Time Remaining:"), m_remaining);
    layout->addWidget(progressBox);

    m_counts = valueLabel(this, "summary");
    m_counts->setWordWrap(true);
    layout->addWidget(m_counts);
    m_list = new RfcList(this);
    m_list->hide();
    layout->addWidget(m_list, 1);
    m_failures = new QPlainTextEdit(this);
    m_failures->setObjectName(QStringLiteral("failures"));
    m_failures->setReadOnly(true);
    m_failures->hide();
    layout->addWidget(m_failures);

    auto* buttons = new QDialogButtonBox(this);
    m_start = buttons->addButton(QStringLiteral("&Start"), QDialogButtonBox::AcceptRole);
    m_start->setObjectName(QStringLiteral("start"));
    m_start->setDefault(true);
    m_open = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::ActionRole);
    m_open->setObjectName(QStringLiteral("open"));
    m_open->hide();
    m_cancelButton = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    m_cancelButton->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(buttons);
    connect(m_start, &QPushButton::clicked, this, &CollectionUpdateDialog::start);
    connect(m_cancelButton, &QPushButton::clicked, this, &CollectionUpdateDialog::reject);
    connect(m_open, &QPushButton::clicked, this, [this] {
        for (int32_t number : m_list->numbers(false))
            emit openRfc(number);
    });
    connect(m_list, &RfcList::openRfc, this, &CollectionUpdateDialog::openRfc);
    m_timer.setInterval(kTickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &CollectionUpdateDialog::showProgress);
    resize(560, 420);
}

CollectionUpdateDialog::~CollectionUpdateDialog()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
}

void CollectionUpdateDialog::start()
{
    if (m_thread)
        return;
    m_cancel = false;
    m_start->setEnabled(false);
    m_open->hide();
    m_list->hide();
    m_failures->hide();
    m_counts->clear();
    m_status->setText(QStringLiteral("Connecting"));
    auto result = std::make_shared<UpdateSummary>();
    m_result = result;
    const UpdateOptions options = m_options;
    m_thread = QThread::create([this, options, result] {
        *result = updateCollection(options, m_cancel, [this](const UpdateProgress& step) {
            const std::lock_guard<std::mutex> lock(m_progressLock);
            m_progress = step;
            m_progressChanged = true;
        });
    });
    connect(m_thread, &QThread::finished, this, &CollectionUpdateDialog::showEnd);
    m_thread->start();
    m_timer.start();
}

void CollectionUpdateDialog::showProgress()
{
    UpdateProgress step;
    {
        const std::lock_guard<std::mutex> lock(m_progressLock);
        if (!m_progressChanged)
            return;
        step = m_progress;
        m_progressChanged = false;
    }
    m_status->setText(m_cancel ? QStringLiteral("Cancelling") : QString::fromStdString(step.stage));
    m_bar->setValue(step.percent >= 0 ? step.percent : 0);
    m_files->setText(
        step.filesTotal >= 0
            ? QStringLiteral("%1 of %2").arg(std::max<int64_t>(step.filesDone, 0)).arg(step.filesTotal)
            : QStringLiteral("?"));
    m_received->setText(step.bytes > 0 ? QString::fromStdString(formatByteCount(
                            static_cast<uint32_t>(std::min<uint64_t>(step.bytes, UINT32_MAX))))
                                       : QStringLiteral("?"));
    m_speed->setText(step.rate.empty() ? QStringLiteral("?") : QString::fromStdString(step.rate));
    m_remaining->setText(step.timeLeft.empty() ? QStringLiteral("??:??:??")
                                               : QString::fromStdString(step.timeLeft));
}

void CollectionUpdateDialog::showEnd()
{
    m_timer.stop();
    showProgress();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_summary = *m_result;
    m_start->setEnabled(true);
    emit updated();
    if (m_closeWhenEnded) {
        QDialog::reject();
        return;
    }
    m_status->setText(m_summary.cancelled        ? QStringLiteral("Cancelled")
                          : m_summary.complete() ? QStringLiteral("Updated")
                                                 : QStringLiteral("Updated with failures"));
    if (m_summary.complete())
        m_bar->setValue(100);
    m_counts->setText(QString::fromStdString(m_summary.countsLine()));
    if (!m_summary.newRfcs.empty()) {
        m_list->setRfcs(listedRfcs(m_options.folder, m_summary.newRfcs));
        m_list->show();
        m_open->show();
    }
    std::string details;
    for (const std::string& note : m_summary.notes)
        details += note + '\n';
    for (const UpdateFailure& failure : m_summary.failures)
        details += failure.name + ": " + failure.reason + '\n';
    if (!m_summary.problem.empty())
        details += m_summary.problem + '\n';
    if (!details.empty()) {
        m_failures->setPlainText(QString::fromStdString(details));
        m_failures->show();
    }
}

void CollectionUpdateDialog::reject()
{
    if (!m_thread) {
        QDialog::reject();
        return;
    }
    if (dialogs().message(this, QStringLiteral("Abort downloading?"), MessageButtons::OkCancel,
                          MessageIcon::Question)
        != MessageAnswer::Ok)
        return;
    // The worker stops rsync or the transfers within a second and removes
    // their partial files; the dialog closes when it has returned.
    m_cancel = true;
    m_closeWhenEnded = true;
    m_status->setText(QStringLiteral("Cancelling"));
    m_cancelButton->setEnabled(false);
}

} // namespace parchly
