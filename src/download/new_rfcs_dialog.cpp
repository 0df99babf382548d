#include "download/new_rfcs_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <sys/stat.h>

#include "download/rfc_list.h"
#include "settings/download_addresses.h"
#include "update/new_rfcs.h"

namespace parchly {

namespace {

bool inFolder(const std::string& folder, int32_t number)
{
    struct stat status { };
    return ::stat((folder + "/" + rfcFileName(number)).c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

NewRfcsDialog::NewRfcsDialog(const std::vector<ListedRfc>& rfcs, const HttpsOptions& fetchOptions,
                             QWidget* parent)
    : QDialog(parent)
    , m_options(fetchOptions)
{
    setWindowTitle(QString::fromStdString(newRfcsText(rfcs.size())));
    auto* layout = new QVBoxLayout(this);
    m_list = new RfcList(this);
    m_list->setRfcs(rfcs);
    layout->addWidget(m_list, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    auto* buttons = new QDialogButtonBox(this);
    auto* openButton = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::ActionRole);
    openButton->setObjectName(QStringLiteral("open"));
    m_fetch = buttons->addButton(QStringLiteral("&Fetch"), QDialogButtonBox::ActionRole);
    m_fetch->setObjectName(QStringLiteral("fetch"));
    m_fetchAll = buttons->addButton(QStringLiteral("Fetch &All"), QDialogButtonBox::ActionRole);
    m_fetchAll->setObjectName(QStringLiteral("fetchAll"));
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(openButton, &QPushButton::clicked, this, &NewRfcsDialog::open);
    connect(m_list, &RfcList::openRfc, this, [this](int32_t) { open(); });
    connect(m_fetch, &QPushButton::clicked, this, [this] { fetch(false); });
    connect(m_fetchAll, &QPushButton::clicked, this, [this] { fetch(true); });
    resize(560, 360);
}

NewRfcsDialog::~NewRfcsDialog()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
}

// Opens the selected RFCs that are there; fetches the others first.
void NewRfcsDialog::open()
{
    std::vector<int32_t> missing;
    for (int32_t number : m_list->numbers(false)) {
        if (inFolder(m_options.folder, number))
            emit openRfc(number);
        else
            missing.push_back(number);
    }
    if (!missing.empty()) {
        m_openAfterFetch = missing;
        fetch(false);
    }
}

void NewRfcsDialog::fetch(bool all)
{
    if (m_thread)
        return;
    std::vector<int32_t> wanted;
    for (int32_t number : m_list->numbers(all)) {
        if (!inFolder(m_options.folder, number))
            wanted.push_back(number);
    }
    if (wanted.empty()) {
        m_status->setText(QStringLiteral("Every RFC chosen is in the folder."));
        return;
    }
    m_fetch->setEnabled(false);
    m_fetchAll->setEnabled(false);
    m_status->setText(QStringLiteral("Fetching %1 RFCs…").arg(wanted.size()));
    auto failures = std::make_shared<std::vector<UpdateFailure>>();
    m_failures = failures;
    const HttpsOptions options = m_options;
    m_thread = QThread::create(
        [this, options, wanted, failures] { *failures = fetchRfcs(options, wanted, m_cancel, {}); });
    connect(m_thread, &QThread::finished, this, &NewRfcsDialog::fetchEnded);
    m_thread->start();
}

void NewRfcsDialog::fetchEnded()
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_fetch->setEnabled(true);
    m_fetchAll->setEnabled(true);
    QString text = m_failures->empty() ? QStringLiteral("Fetched.") : QStringLiteral("Not fetched:");
    for (const UpdateFailure& failure : *m_failures)
        text += QStringLiteral("\n%1: %2")
                    .arg(QString::fromStdString(failure.name), QString::fromStdString(failure.reason));
    m_status->setText(text);
    emit fetched();
    const std::vector<int32_t> toOpen = std::move(m_openAfterFetch);
    m_openAfterFetch.clear();
    for (int32_t number : toOpen) {
        if (inFolder(m_options.folder, number))
            emit openRfc(number);
    }
}

} // namespace parchly
