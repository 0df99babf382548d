#include "frame/new_rfcs_notice.h"

#include <QFileInfo>
#include <QPushButton>
#include <QStatusBar>

#include "download/collection_commands.h"
#include "frame/frame_host.h"
#include "settings/download_addresses.h"
#include "settings/settings.h"

namespace parchly {

namespace {

constexpr int kMessageMilliseconds = 10000;

} // namespace

NewRfcsNotice::NewRfcsNotice(QStatusBar& bar, FrameHost& host, QWidget* window)
    : QObject(window)
    , m_bar(bar)
    , m_host(host)
    , m_window(window)
    , m_checker(new NewRfcChecker(this))
    , m_button(new QPushButton(&bar))
{
    m_button->setObjectName(QStringLiteral("newRfcsNotice"));
    m_button->setFlat(true);
    m_button->setCursor(Qt::PointingHandCursor);
    m_button->setToolTip(QStringLiteral("List the new RFCs, to fetch and open them"));
    m_button->hide();
    bar.addPermanentWidget(m_button);
    connect(m_button, &QPushButton::clicked, this, &NewRfcsNotice::showList);
    connect(m_checker, &NewRfcChecker::checked, this, &NewRfcsNotice::checked);
}

void NewRfcsNotice::checkNow()
{
    m_asked = true;
    if (m_checker->start(m_host.settings()))
        m_bar.showMessage(QStringLiteral("Checking for new RFCs…"));
}

void NewRfcsNotice::checkIfDue(int64_t now)
{
    const RfcSettings& settings = m_host.settings();
    if (!newRfcCheckDue(settings.CheckForNewRfcs, RfcSettings::lastNewRfcCheck(m_host.profile()), now))
        return;
    RfcSettings::saveLastNewRfcCheck(m_host.profile(), now);
    m_checker->start(settings);
}

void NewRfcsNotice::checked(const NewRfcs& result)
{
    const bool asked = m_asked;
    m_asked = false;
    m_rfcs = result.rfcs;
    m_button->setText(QString::fromStdString(newRfcsText(m_rfcs.size())));
    m_button->setVisible(!m_rfcs.empty());
    if (!asked)
        return;
    if (!result.problem.empty())
        m_bar.showMessage(QString::fromStdString(result.problem), kMessageMilliseconds);
    else if (m_rfcs.empty())
        m_bar.showMessage(QStringLiteral("No new RFCs"), kMessageMilliseconds);
    else
        m_bar.clearMessage();
}

void NewRfcsNotice::showList()
{
    showNewRfcs(m_window, m_host.settings(), m_rfcs,
                [this](int32_t number) { m_host.openRfcNumber(number); });
    // What was fetched from the list is no longer missing.
    std::vector<ListedRfc> still;
    for (const ListedRfc& rfc : m_rfcs) {
        if (!QFileInfo::exists(
                QString::fromStdString(m_host.settings().RfcRootPath + "/" + rfcFileName(rfc.number))))
            still.push_back(rfc);
    }
    m_rfcs = still;
    m_button->setText(QString::fromStdString(newRfcsText(m_rfcs.size())));
    m_button->setVisible(!m_rfcs.empty());
}

} // namespace parchly
