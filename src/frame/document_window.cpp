#include "frame/document_window.h"
#include "download/collection_commands.h"

#include "frame/cited_by.h"
#include "frame/errata_page.h"
#include "frame/errata_service.h"

#include "analysis/file_access.h"
#include "analysis/line_mapping.h"
#include "analysis/requirements_csv.h"
#include "analysis/rfc_text.h"
#include "view/command_ids.h"
#include "frame/frame_host.h"
#include "settings/settings.h"
#include "settings/rfc_paths.h"
#include "platform/dialogs.h"
#include "frame/document_tab_bar.h"
#include "frame/index_bar.h"
#include "frame/main_window.h"
#include "index/index_status.h"
#include "platform/tab_strip.h"
#include "view/rfc_document.h"
#include "view/find.h"
#include "view/reading_view.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QAction>
#include <QMainWindow>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <sstream>

namespace parchly {

namespace {

// How long a passing note stays in the status bar, in milliseconds.
constexpr int kStatusMessageTimeout = 5000;

} // namespace

DocumentWindow::DocumentWindow(MainWindow& mainWindow, FrameHost& app, const QString& path)
    : m_mainWindow(mainWindow)
    , m_app(app)
    , m_path(path)
    , m_document(std::make_unique<RfcDocument>(path))
    , m_inner(new QMainWindow(this))
    , m_navigator(new NavigatorBar(m_inner, *m_document, app.settings()))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QFileInfo(path).fileName());
    // A main window inside the MDI child lets the Navigator dock at its edges.
    m_inner->setWindowFlags(Qt::Widget);
    m_inner->setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    // The find bar stands below the text, where it covers none of it.
    auto* central = new QWidget(m_inner);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_view = new ReadingView(m_document.get(), this, central);
    auto* findBar = new FindBar(central);
    // What the RFC index says of the RFC stands above its text.
    m_indexBar = new IndexBar(central);
    connect(m_indexBar, &IndexBar::rfcChosen, this, [this](int number) {
        if (m_view)
            m_view->links().followToRfc(number);
    });
    connect(m_indexBar, &IndexBar::errataChosen, this, [this] {
        if (m_errataPage)
            m_navigator->showPage(m_errataPage);
    });
    column->addWidget(m_indexBar);
    column->addWidget(m_view, 1);
    column->addWidget(findBar);
    m_view->finder().setBar(findBar);
    m_inner->setCentralWidget(central);
    connect(m_navigator, &NavigatorBar::rfcChosen, this, &DocumentWindow::openIndexedRfc);
    connect(m_navigator, &NavigatorBar::modeChanged, &m_mainWindow, &MainWindow::setModePane);
    m_inner->addDockWidget(Qt::LeftDockWidgetArea, m_navigator);
    setWidget(m_inner);
    // The Navigator's edge is dragged on the inner window; its release ends the choice.
    m_inner->installEventFilter(this);
    // Ctrl+W and Ctrl+F4 are the main window's Close; the same keys on this
    // window's system menu would make both ambiguous, so neither would work.
    if (QMenu* menu = systemMenu())
        for (QAction* action : menu->actions())
            if (action->shortcuts().contains(QKeySequence(QKeySequence::Close))
                || action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
                action->setShortcuts({});
}

DocumentWindow::~DocumentWindow()
{
    // The view reaches its host while it goes, so it goes first.
    delete m_view;
    m_view = nullptr;
}

QWidget* DocumentWindow::viewWidget() const
{
    return m_view;
}

bool DocumentWindow::isIndexDocument() const
{
    return m_document && m_document->text().isIndex;
}

void DocumentWindow::initialUpdate()
{
    if (m_initialised || !m_view)
        return;
    m_initialised = true;
    m_view->loadDocument();
    updateIndexBar();
    if (!isIndexDocument()) {
        // The collection knows files by their names; another name goes by the number the RFC gives itself.
        const int rfc = rfcNumberOfPath(m_path) ? rfcNumberOfPath(m_path) : m_document->text().rfcNumber;
        m_navigator->addPage(QStringLiteral("Cited by"),
                             new CitedByPage(m_navigator, m_mainWindow, m_app, rfc));
        m_errataPage = new ErrataPage(m_navigator, m_app.settings());
        m_navigator->addPage(QStringLiteral("Errata"), m_errataPage);
        connect(m_errataPage, &ErrataPage::erratumActivated, this,
                [this](int index) { m_document->goToErratum(index); });
        connect(m_errataPage, &ErrataPage::filterChanged, this, [this] {
            m_app.settings().saveErrataFilter(m_app.profile());
            m_mainWindow.errataFilterChanged();
        });
        connect(&m_mainWindow.errata(), &ErrataService::dataChanged, this, &DocumentWindow::showErrata);
        showErrata();
    }
    m_mainWindow.documentWindowActivated(this);
}

void DocumentWindow::updateIndexBar()
{
    const RfcSettings& options = m_app.settings();
    const bool shown = m_initialised && options.ShowIndexBar && !isIndexDocument();
    // The folder's name for the file first, as links open RFCs by it.
    const int named = rfcNumberOfFileName(m_path);
    const int number = named > 0 ? named : m_document->text().rfcNumber;
    std::vector<Erratum> errata;
    for (const PlacedErratum& placed : m_document->errata())
        errata.push_back(placed.erratum);
    m_indexBar->showStatus(shown ? m_app.indexStatus() : nullptr, number,
                           options.categoryFormat(kFormatObsoleted).value_or(defaultFormat(kFormatObsoleted)),
                           shown ? QString::fromStdString(errataCountsText(errata)) : QString());
}

void DocumentWindow::showErrata()
{
    if (!m_errataPage || !m_view)
        return;
    const std::shared_ptr<const ErrataData> data = m_mainWindow.errata().data();
    if (!data) {
        m_errataPage->fill({}, QStringLiteral("Reading the errata..."));
        return;
    }
    const int named = rfcNumberOfFileName(m_path);
    const int rfc = named > 0 ? named : m_document->text().rfcNumber;
    m_document->setErrata(rfc > 0 ? data->catalogue.errataOf(rfc) : std::vector<Erratum>());
    QString note;
    if (!data->fileFound)
        note = QStringLiteral("The RFC folder holds no errata.json: Tools, Update Errata downloads it.");
    else if (m_document->errata().empty())
        note = data->problem;
    m_errataPage->fill(m_document->errata(), note);
    if (!data->problem.isEmpty())
        showStatusMessage(data->problem);
    updateIndexBar();
}

void DocumentWindow::errataFilterChanged()
{
    if (!m_errataPage || !m_view)
        return;
    m_errataPage->syncFilter();
    m_document->errataFilterChanged();
}

void DocumentWindow::settingsApplied()
{
    if (!m_initialised)
        return;
    m_document->recompose(m_app.settings(), m_app.indexStatus());
    updateIndexBar();
}

QString DocumentWindow::errataCountsOf(int number) const
{
    const std::shared_ptr<const ErrataData> data = m_mainWindow.errata().data();
    return data ? QString::fromStdString(errataCountsText(data->catalogue.errataOf(number))) : QString();
}

void DocumentWindow::erratumChosen(int index)
{
    if (!m_errataPage)
        return;
    m_navigator->showPage(m_errataPage);
    m_errataPage->selectErratum(index);
}

void DocumentWindow::frameActivated()
{
    if (!m_view || !m_initialised)
        return;
    // The zoom is the program's: a window shows the one last chosen.
    m_view->zoom().setSteps(m_app.settings().TextZoom);
    m_view->updatePositionStatus();
    m_mainWindow.setModePane(m_navigator->mode());
}

ReadingPosition DocumentWindow::readingPosition() const
{
    ReadingPosition position;
    if (!m_view || !m_initialised)
        return position;
    int line = 0;
    m_view->caretLineColumn(line, position.caretColumn);
    // The caret's line is the file's already; the top line is shown.
    position.caretLine = std::max(1, FileLine::atIndex(line).number());
    position.topLine =
        std::max(1, m_document->fileLineOf(ShownLine::atIndex(m_view->firstVisibleLine())).number());
    return position;
}

void DocumentWindow::setReadingPosition(const ReadingPosition& position)
{
    if (!m_view || !m_initialised || m_view->lineCount() == 0)
        return;
    // A position kept for a longer version of the file ends at its last line.
    const FileLine last = m_document->fileLineOf(ShownLine::atIndex(m_view->lineCount() - 1));
    auto fileLine = [last](int number) {
        return std::clamp(FileLine::atNumber(number), FileLine::atIndex(0), last);
    };
    m_view->setCaretLineColumn(fileLine(position.caretLine).index(), position.caretColumn);
    m_view->scrollLines(m_document->shownLineOf(fileLine(position.topLine)).index()
                        - m_view->firstVisibleLine());
    m_view->updatePositionStatus();
}

int DocumentWindow::navigatorWidth() const
{
    if (!m_navigator->isVisibleTo(m_inner) || m_navigator->isFloating())
        return 0;
    const Qt::DockWidgetArea area = m_inner->dockWidgetArea(m_navigator);
    return area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea ? m_navigator->width() : 0;
}

void DocumentWindow::setNavigatorWidth(int width)
{
    if (width > 0 && navigatorWidth() > 0)
        m_inner->resizeDocks({m_navigator}, {width}, Qt::Horizontal);
}

void DocumentWindow::shareNavigatorWidthAfterArranging()
{
    const int width = navigatorWidth();
    if (width <= 0)
        return;
    if (m_widthBeforeArranging == 0)
        m_widthBeforeArranging = width;
    // Tile and Cascade set the size after this; the layout follows it.
    QTimer::singleShot(0, this, [this] {
        const int share = std::max(NavigatorBar::kMinimumWidth, m_inner->width() / 3);
        if (!isMaximized() && navigatorWidth() > share)
            m_inner->resizeDocks({m_navigator}, {share}, Qt::Horizontal);
    });
}

bool DocumentWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_inner && event->type() == QEvent::Resize && m_widthBeforeArranging > 0
        && isMaximized()) {
        const int width = m_widthBeforeArranging;
        m_widthBeforeArranging = 0;
        QTimer::singleShot(0, this, [this, width] { setNavigatorWidth(width); });
    }
    if (watched == m_inner && event->type() == QEvent::MouseButtonPress)
        m_chosenNavigatorWidth = navigatorWidth();
    if (watched == m_inner && event->type() == QEvent::MouseButtonRelease) {
        // The inner window ends the drag of the edge first; then the width is read.
        QTimer::singleShot(0, this, [this] {
            const int width = navigatorWidth();
            if (width > 0 && width != m_chosenNavigatorWidth) {
                m_chosenNavigatorWidth = width;
                emit navigatorWidthChosen(width);
            }
        });
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

std::string DocumentWindow::positionKey() const
{
    return QFile::encodeName(QFileInfo(m_path).absoluteFilePath()).toStdString();
}

std::vector<CommandTarget*> DocumentWindow::commandRoute()
{
    std::vector<CommandTarget*> route;
    if (auto* target = dynamic_cast<CommandTarget*>(m_view))
        route.push_back(target);
    // The document is a plain record without commands of its own; its
    // framework command Close is handled by this frame.
    route.push_back(this);
    return route;
}

bool DocumentWindow::updateCommand(int id, CommandState& state)
{
    const RfcText* text = m_document ? &m_document->text() : nullptr;
    const ViewState* shown = m_document ? &m_document->viewState() : nullptr;
    const bool rfc = text && !text->isIndex;
    const bool headerFooterToggles = rfc && !m_app.settings().DisableHeaderAndFooterInAllFiles;
    switch (id) {
    case kCmdStructure:
        state.enabled = rfc && m_navigator->tabs()->currentIndex() != 0;
        return true;
    case kCmdPage:
        state.enabled = rfc && m_navigator->tabs()->currentIndex() != 1;
        return true;
    case kCmdHeaders:
        state.enabled = headerFooterToggles;
        state.checkable = true;
        state.checked = rfc && !shown->cuts.headers;
        return true;
    case kCmdFooters:
        state.enabled = headerFooterToggles;
        state.checkable = true;
        state.checked = rfc && !shown->cuts.footers;
        return true;
    case kCmdPageSeparators:
        state.enabled = rfc;
        state.checkable = true;
        state.checked = rfc && shown->pageSeparators;
        return true;
    case kCmdNavigator:
        state.enabled = true;
        state.checkable = true;
        state.checked = m_navigator->isVisibleTo(m_inner);
        return true;
    case kCmdFileClose:
        state.enabled = true;
        return true;
    case kCmdExportRequirements:
        state.enabled = rfc && !text->requirements.empty();
        return true;
    default:
        return false;
    }
}

bool DocumentWindow::runCommand(int id)
{
    const ViewState* shown = m_document ? &m_document->viewState() : nullptr;
    switch (id) {
    case kCmdStructure:
        showNavigatorTabByCommand(0);
        return true;
    case kCmdPage:
        showNavigatorTabByCommand(1);
        return true;
    case kCmdHeaders:
        if (shown && m_view)
            m_document->cutHeadersAndFooters(!shown->cuts.headers, shown->cuts.footers);
        return true;
    case kCmdFooters:
        if (shown && m_view)
            m_document->cutHeadersAndFooters(shown->cuts.headers, !shown->cuts.footers);
        return true;
    case kCmdPageSeparators:
        if (shown && m_view)
            m_document->showPageSeparators(!shown->pageSeparators);
        return true;
    case kCmdNavigator:
        m_navigator->setVisible(!m_navigator->isVisibleTo(m_inner));
        return true;
    case kCmdFileClose:
        close();
        return true;
    case kCmdExportRequirements:
        exportRequirements();
        return true;
    default:
        return false;
    }
}

void DocumentWindow::showNavigatorTabByCommand(int tab)
{
    if (isIndexDocument())
        return;
    m_navigator->tabs()->selectTab(tab);
    m_navigator->showNavigatorTab(tab);
}

const RfcSettings& DocumentWindow::settings() const
{
    return m_app.settings();
}

ReadingSession& DocumentWindow::session()
{
    return m_mainWindow.readingSession();
}

int DocumentWindow::navigatorTab() const
{
    return m_navigator->tabs()->currentIndex();
}

void DocumentWindow::setPositionPane(const QString& text)
{
    // The pane shows the active window's caret only.
    if (m_mainWindow.activeDocumentWindow() == this)
        m_mainWindow.setPositionPane(text);
}

void DocumentWindow::addDocumentTab(const QString& title, ReadingView* view)
{
    m_mainWindow.documentTabBar()->addViewTab(title, view);
}

void DocumentWindow::removeDocumentTab(ReadingView* view)
{
    m_mainWindow.documentTabBar()->removeViewTab(view);
}

RfcDocument* DocumentWindow::openRfcNumber(int number)
{
    return m_app.openRfcNumber(number);
}

ReadingView* DocumentWindow::openRfcView(int number)
{
    // A missing file is fetched when the reader agrees; one that stays
    // missing and that the index lists is shown at its index entry.
    const RfcIndexStatus* index = m_app.indexStatus();
    if (!canOpenForReading(rfcPath(m_app.settings().RfcRootPath, number)) && !fetchMissingRfc(number) && index
        && index->entry(number) && m_mainWindow.showIndexEntry(number))
        return nullptr;
    return m_mainWindow.viewOf(m_app.openRfcNumber(number));
}

bool DocumentWindow::fetchMissingRfc(int number)
{
    return parchly::fetchMissingRfc(&m_mainWindow, m_app.settings(), number);
}

ReadingView* DocumentWindow::showDocumentView(const QString& path)
{
    return m_mainWindow.viewOf(m_app.openDocumentFile(path));
}

const RfcIndexStatus* DocumentWindow::indexStatus() const
{
    return m_app.indexStatus();
}

void DocumentWindow::runFrameCommand(int id)
{
    m_mainWindow.routeCommand(id);
}

void DocumentWindow::showStatusMessage(const QString& text)
{
    if (text.isEmpty())
        m_mainWindow.statusBar()->clearMessage();
    else
        m_mainWindow.statusBar()->showMessage(text, kStatusMessageTimeout);
}

void DocumentWindow::storeZoomSteps(int steps)
{
    RfcSettings& settings = m_app.settings();
    settings.TextZoom = steps;
    settings.saveTextZoom(m_app.profile());
}

void DocumentWindow::openIndexedRfc(int number)
{
    const std::string path = rfcPath(m_app.settings().RfcRootPath, number);
    if (canOpenForReading(path) || fetchMissingRfc(number))
        m_app.openDocumentFile(QFile::decodeName(path.c_str()));
    else
        dialogs().message(m_navigator, QFile::decodeName(path.c_str()) + QStringLiteral(" does NOT exist!"));
}

void DocumentWindow::exportRequirements()
{
    const RfcText& text = m_document->text();
    if (text.isIndex || text.requirements.empty())
        return;
    const QFileInfo source(m_path);
    const QString proposed = source.absolutePath() + QLatin1Char('/') + source.completeBaseName()
        + QStringLiteral("-requirements.csv");
    const QString path = dialogs().saveFileName(this, QStringLiteral("Export Requirements"), proposed,
                                                QStringLiteral("CSV files (*.csv);;All Files (*)"));
    if (path.isEmpty())
        return;
    std::ostringstream csv;
    writeRequirementsCsv(text, csv);
    // Through a temporary file renamed when whole: a full disk leaves the
    // old file as it was and is reported, never an empty file in silence.
    const std::string error = replaceFileContents(QFile::encodeName(path).toStdString(), csv.str());
    if (!error.empty())
        dialogs().message(
            this,
            QStringLiteral("Cannot write file: %1.\n%2").arg(path, QString::fromLocal8Bit(error.c_str())));
}

void DocumentWindow::closeEvent(QCloseEvent* event)
{
    // The MDI area activates another window as this one closes.
    if (!m_closed)
        m_mainWindow.documentWindowClosing(this);
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted() && !m_closed) {
        m_closed = true;
        // Reopening the document brings the reader back here.
        if (m_initialised)
            storeReadingPosition(m_app.profile(), positionKey(), readingPosition());
        m_mainWindow.documentWindowClosed(this);
    }
}

} // namespace parchly
