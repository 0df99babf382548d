#include "frame/cited_by.h"
#include "view/rfc_document.h"

#include "frame/document_window.h"
#include "frame/frame_host.h"
#include "frame/main_window.h"
#include "settings/rfc_paths.h"
#include "settings/settings.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace parchly {

namespace {

constexpr int kRfcRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;
// Progress is reported every so many files, not for each.
constexpr std::size_t kProgressStep = 64;
constexpr int kStatusMessageMs = 5000;

} // namespace

int rfcNumberOfPath(const QString& path)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^rfc(\\d{1,6})\\.txt$"), QRegularExpression::CaseInsensitiveOption)
            .match(QFileInfo(path).fileName());
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

CitedByService::CitedByService(FrameHost& app, std::string cachePath)
    : m_app(app)
    , m_cachePath(std::move(cachePath))
{
}

CitedByService::~CitedByService()
{
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
}

std::shared_ptr<const CitedByData> CitedByService::data()
{
    const std::string folder = m_app.settings().RfcRootPath;
    if (!m_worker.joinable() || (m_finished && folder != m_folder))
        start(folder);
    return m_data;
}

void CitedByService::start(const std::string& folder)
{
    if (m_worker.joinable())
        m_worker.join();
    m_folder = folder;
    m_finished = false;
    m_cancel = false;
    m_worker = std::thread([this, folder] {
        auto loaded = std::make_shared<CitedByData>();
        const bool cached = loaded->graph.loadCache(m_cachePath);
        // The cache is shown at once, with the titles the RFCs give
        // themselves; the index's titles and the files that changed follow.
        if (cached)
            publish(loaded, false);
        auto fresh = std::make_shared<CitedByData>(*loaded);
        fresh->titles = indexTitles(folder);
        if (cached)
            publish(std::make_shared<CitedByData>(*fresh), false);
        fresh->complete = true;
        const RefreshSummary summary = fresh->graph.refresh(
            listCollection(folder), 0,
            [this](std::size_t done, std::size_t total) {
                if (done % kProgressStep == 0 || done == total)
                    QMetaObject::invokeMethod(
                        this, [this, done, total] { emit progress(int(done), int(total)); },
                        Qt::QueuedConnection);
            },
            &m_cancel);
        if (m_cancel)
            return;
        if (!cached || summary.analysed > 0 || summary.removed > 0)
            fresh->graph.saveCache(m_cachePath);
        publish(fresh, true);
    });
}

void CitedByService::publish(std::shared_ptr<const CitedByData> data, bool finished)
{
    QMetaObject::invokeMethod(
        this,
        [this, data, finished] {
            m_data = data;
            m_finished = finished;
            emit dataChanged();
        },
        Qt::QueuedConnection);
}

CitedByPage::CitedByPage(QWidget* parent, MainWindow& window, FrameHost& app, int rfc)
    : QWidget(parent)
    , m_window(window)
    , m_app(app)
    , m_rfc(rfc)
    , m_note(new QLabel(this))
    , m_progress(new QProgressBar(this))
    , m_list(new QTreeWidget(this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(m_note);
    column->addWidget(m_progress);
    column->addWidget(m_list, 1);
    m_note->setWordWrap(true);
    m_progress->hide();
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setFrameShape(QFrame::StyledPanel);
    connect(m_list, &QTreeWidget::itemActivated, this, &CitedByPage::openCiting);
    CitedByService& service = window.citedBy();
    connect(&service, &CitedByService::progress, this, [this](int done, int total) {
        m_progress->setMaximum(total);
        m_progress->setValue(done);
    });
    connect(&service, &CitedByService::dataChanged, this, [this] {
        if (isVisible())
            fill();
    });
}

void CitedByPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    fill();
}

void CitedByPage::fill()
{
    CitedByService& service = m_window.citedBy();
    const std::shared_ptr<const CitedByData> data = service.data();
    m_progress->setVisible(service.isBuilding());
    m_list->clear();
    if (m_rfc <= 0) {
        m_note->setText(QStringLiteral("This document gives no RFC number."));
        return;
    }
    if (!data) {
        m_note->setText(QStringLiteral("Reading the references of every local RFC..."));
        return;
    }
    const std::vector<CitingRfc> citing = data->graph.citedBy(m_rfc);
    for (const CitingRfc& rfc : citing) {
        const auto indexed = data->titles.find(rfc.rfc);
        const std::string& title =
            indexed != data->titles.end() && !indexed->second.empty() ? indexed->second : rfc.title;
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0,
                      QStringLiteral("RFC %1  %2 (%3)")
                          .arg(rfc.rfc)
                          .arg(QString::fromUtf8(title.data(), qsizetype(title.size())))
                          .arg(rfc.count));
        item->setToolTip(0, item->text(0));
        item->setData(0, kRfcRole, rfc.rfc);
        item->setData(0, kLineRole, rfc.referenceLine);
    }
    m_note->setText(citing.empty() ? QStringLiteral("No local RFC cites RFC %1.").arg(m_rfc)
                                   : QStringLiteral("Local RFCs citing RFC %1 (citations):").arg(m_rfc));
    // A list filled in a window in the background says nothing of the
    // window the reader is in.
    if (isVisible())
        m_window.statusBar()->showMessage(QStringLiteral("Cited by %1 RFCs").arg(citing.size()),
                                          kStatusMessageMs);
}

void CitedByPage::openCiting(QTreeWidgetItem* item)
{
    if (!item)
        return;
    // Opening the RFC can fill this list again and delete `item`: what it
    // holds is read first.
    const int rfc = item->data(0, kRfcRole).toInt();
    const int line = item->data(0, kLineRole).toInt();
    const std::string path = rfcPath(m_app.settings().RfcRootPath, rfc);
    if (!m_app.openDocumentFile(QFile::decodeName(path.c_str())))
        return;
    if (DocumentWindow* child = m_window.activeDocumentWindow())
        child->document()->goToFileLine(FileLine::atIndex(line));
}

} // namespace parchly
