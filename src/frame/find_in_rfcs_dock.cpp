#include "frame/find_in_rfcs_dock.h"

#include "frame/document_window.h"
#include "frame/frame_host.h"
#include "frame/main_window.h"
#include "settings/settings.h"
#include "view/find.h"
#include "view/reading_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace parchly {

namespace {

// Item data of the list: an RFC's number, path and hit count on its item;
// a hit's line, and where the hit stands in the shown line, on its own.
constexpr int kRfcRole = Qt::UserRole;
constexpr int kHitsRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole + 2;
constexpr int kLineRole = Qt::UserRole + 3;
constexpr int kColumnRole = Qt::UserRole + 4;
constexpr int kLengthRole = Qt::UserRole + 5;
constexpr int kFileRole = Qt::UserRole + 6;
constexpr int kTextColumn = 1;

// Results are taken into the list for at most this long at a time, so that
// the event loop never waits longer than the 5 ms it is allowed.
constexpr qint64 kBatchNanoseconds = 3'000'000;
constexpr int kProgressMs = 50;
// The first RFCs found stand open; the others show their hits on demand.
constexpr int kExpandedRfcs = 20;

// Paints a hit's line with the hit on the find highlight's colour.
class HitDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QVariant column = index.data(kColumnRole);
        if (index.column() != kTextColumn || !column.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        item.widget->style()->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        const int start = std::clamp(column.toInt(), 0, int(text.size()));
        const int length = std::clamp(index.data(kLengthRole).toInt(), 0, int(text.size()) - start);
        const QRect area = item.rect.adjusted(4, 0, -2, 0);
        const QFontMetrics metrics(item.font);
        const int left = metrics.horizontalAdvance(text.left(start));
        const int width = metrics.horizontalAdvance(text.mid(start, length));
        painter->save();
        painter->fillRect(QRect(area.left() + left, area.top() + 1, width, area.height() - 2),
                          QColor(255, 230, 90));
        painter->setPen(item.palette.color(item.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                               : QPalette::Text));
        painter->setFont(item.font);
        painter->drawText(area, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
        painter->restore();
    }
};

QString fromBytes(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

FindInRfcsDock::FindInRfcsDock(MainWindow& window, FrameHost& app)
    : QDockWidget(QStringLiteral("Find in RFCs"), &window)
    , m_window(window)
    , m_app(app)
    , m_text(new QLineEdit)
    , m_matchCase(new QCheckBox(QStringLiteral("Match &case")))
    , m_wholeWord(new QCheckBox(QStringLiteral("Whole w&ord")))
    , m_expression(new QCheckBox(QStringLiteral("Regular e&xpression")))
    , m_find(new QPushButton(QStringLiteral("Fi&nd")))
    , m_cancel(new QPushButton(QStringLiteral("Cancel")))
    , m_order(new QComboBox)
    , m_progress(new QProgressBar)
    , m_status(new QLabel)
    , m_results(new QTreeWidget)
    , m_progressTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("FindInRfcsDock"));
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(4, 4, 4, 4);
    auto* form = new QHBoxLayout;
    m_text->setPlaceholderText(QStringLiteral("Text to find in every RFC of the folder"));
    m_text->setClearButtonEnabled(true);
    form->addWidget(m_text, 1);
    form->addWidget(m_find);
    form->addWidget(m_cancel);
    column->addLayout(form);
    auto* options = new QHBoxLayout;
    options->addWidget(m_matchCase);
    options->addWidget(m_wholeWord);
    options->addWidget(m_expression);
    m_order->addItems({QStringLiteral("By RFC number"), QStringLiteral("By hits")});
    options->addWidget(m_order);
    options->addWidget(m_progress, 1);
    options->addWidget(m_status, 1);
    column->addLayout(options);
    m_results->setColumnCount(4);
    m_results->setHeaderLabels({QStringLiteral("RFC"), QStringLiteral("Title / line"),
                                QStringLiteral("Section"), QStringLiteral("Hits")});
    m_results->setRootIsDecorated(true);
    m_results->setUniformRowHeights(true);
    m_results->setItemDelegate(new HitDelegate(m_results));
    m_results->header()->setStretchLastSection(false);
    m_results->header()->setSectionResizeMode(kTextColumn, QHeaderView::Stretch);
    m_results->setColumnWidth(0, 110);
    m_results->setColumnWidth(2, 200);
    m_results->setColumnWidth(3, 50);
    column->addWidget(m_results, 1);
    setWidget(body);
    m_progress->setTextVisible(false);
    m_progress->hide();

    connect(m_text, &QLineEdit::textChanged, this, [this](const QString& text) {
        // One word is looked for as a whole word unless the user said otherwise.
        if (!m_wholeWordChosen)
            m_wholeWord->setChecked(!m_expression->isChecked() && isSingleWord(text.toStdString()));
        updateButtons();
    });
    connect(m_wholeWord, &QCheckBox::clicked, this, [this] { m_wholeWordChosen = true; });
    connect(m_text, &QLineEdit::returnPressed, this, &FindInRfcsDock::startSearch);
    connect(m_find, &QPushButton::clicked, this, &FindInRfcsDock::startSearch);
    connect(m_cancel, &QPushButton::clicked, this, &FindInRfcsDock::cancelSearch);
    connect(m_order, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { setOrder(index == 0 ? Order::ByRfc : Order::ByHits); });
    connect(m_results, &QTreeWidget::itemExpanded, this, &FindInRfcsDock::addHitItems);
    connect(m_results, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { openHit(item); });
    connect(m_progressTimer, &QTimer::timeout, this, [this] {
        if (m_search)
            m_progress->setValue(int(m_search->filesSearched()));
        std::lock_guard<std::mutex> lock(m_mutex);
        m_progress->setMaximum(int(std::max<std::size_t>(m_total, 1)));
    });
    updateButtons();
}

FindInRfcsDock::~FindInRfcsDock()
{
    if (m_search)
        m_search->cancel();
    if (m_worker.joinable())
        m_worker.join();
}

void FindInRfcsDock::showWith(const QString& text)
{
    show();
    raise();
    if (!text.isEmpty())
        m_text->setText(text);
    m_text->setFocus();
    m_text->selectAll();
}

void FindInRfcsDock::updateButtons()
{
    m_find->setEnabled(!m_text->text().isEmpty());
    m_cancel->setEnabled(isSearching());
}

void FindInRfcsDock::startSearch()
{
    if (m_search)
        m_search->cancel();
    if (m_worker.joinable())
        m_worker.join();
    // Whatever the last search still had queued belongs to it, not to this one.
    const int generation = ++m_generation;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pending.clear();
        m_total = 0;
    }
    m_results->clear();
    m_files.clear();
    m_query = SearchQuery{m_text->text().toStdString(), m_matchCase->isChecked(), m_wholeWord->isChecked(),
                          m_expression->isChecked()};
    m_search = std::make_unique<CollectionSearch>(m_query);
    if (!m_search->error().empty()) {
        m_status->setText(fromBytes(m_search->error()));
        m_search.reset();
        updateButtons();
        return;
    }
    m_status->setText(QStringLiteral("Searching..."));
    m_progress->setValue(0);
    m_progress->show();
    m_progressTimer->start(kProgressMs);
    const std::string folder = m_app.settings().RfcRootPath;
    m_worker = std::thread([this, folder, generation, search = m_search.get()] {
        const std::map<int32_t, std::string> titles = indexTitles(folder);
        const std::vector<CollectionFile> files = listCollection(folder);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_total = files.size();
        }
        const SearchSummary summary = search->run(files, 0, [&](FileHits&& hits) {
            // The index's title is the one the reader knows the RFC by.
            const auto title = titles.find(hits.rfc);
            if (title != titles.end() && !title->second.empty())
                hits.title = title->second;
            bool first = false;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                first = m_pending.empty();
                m_pending.push_back(std::move(hits));
            }
            if (first)
                QMetaObject::invokeMethod(
                    this, [this, generation] { takeResults(generation); }, Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(
            this, [this, generation, summary] { finishSearch(generation, summary); }, Qt::QueuedConnection);
    });
    updateButtons();
}

void FindInRfcsDock::cancelSearch()
{
    // The worker stops after the files in its hands and reports as usual.
    if (m_search)
        m_search->cancel();
}

void FindInRfcsDock::takeResults(int generation)
{
    if (generation != m_generation || takeBatch())
        return;
    // The rest comes after the events that waited.
    QMetaObject::invokeMethod(
        this, [this, generation] { takeResults(generation); }, Qt::QueuedConnection);
}

bool FindInRfcsDock::takeBatch()
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        FileHits file;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_pending.empty())
                return true;
            file = std::move(m_pending.front());
            m_pending.pop_front();
        }
        addFile(std::move(file));
        if (timer.nsecsElapsed() > kBatchNanoseconds)
            return false;
    }
}

void FindInRfcsDock::finishSearch(int generation, const SearchSummary& summary)
{
    if (generation != m_generation)
        return;
    // What is still queued goes into the list first, batch by batch.
    if (!takeBatch()) {
        QMetaObject::invokeMethod(
            this, [this, generation, summary] { finishSearch(generation, summary); }, Qt::QueuedConnection);
        return;
    }
    if (m_worker.joinable())
        m_worker.join();
    m_progressTimer->stop();
    m_progress->hide();
    QString text = QStringLiteral("%1 hits in %2 RFCs, %3 files searched")
                       .arg(summary.hits)
                       .arg(summary.filesWithHits)
                       .arg(summary.filesSearched);
    if (summary.filesUnread > 0)
        text += QStringLiteral(", %1 could not be read").arg(summary.filesUnread);
    if (summary.filesTooLarge > 0)
        text += QStringLiteral(", %1 skipped as too large").arg(summary.filesTooLarge);
    // A search that gave up in some files is never shown as complete.
    if (summary.filesIncomplete > 0)
        text += QStringLiteral(", %1 searched only in part (the expression is too complex)")
                    .arg(summary.filesIncomplete);
    if (summary.cancelled)
        text += QStringLiteral(" (cancelled)");
    m_status->setText(text);
    updateButtons();
    emit searchFinished();
}

bool FindInRfcsDock::orderedBefore(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const
{
    const int rfcA = a->data(0, kRfcRole).toInt();
    const int rfcB = b->data(0, kRfcRole).toInt();
    if (m_order->currentIndex() == 1) {
        const int hitsA = a->data(0, kHitsRole).toInt();
        const int hitsB = b->data(0, kHitsRole).toInt();
        if (hitsA != hitsB)
            return hitsA > hitsB;
    }
    return rfcA < rfcB;
}

void FindInRfcsDock::addFile(FileHits&& file)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, QStringLiteral("RFC %1").arg(file.rfc));
    item->setText(kTextColumn, fromBytes(file.title));
    item->setText(3,
                  file.incomplete ? QStringLiteral("%1 (incomplete)").arg(file.hitCount)
                                  : QString::number(file.hitCount));
    item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(0, kRfcRole, file.rfc);
    item->setData(0, kHitsRole, file.hitCount);
    item->setData(0, kPathRole, QFile::decodeName(file.path.c_str()));
    item->setData(0, kFileRole, int(m_files.size()));
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    m_files.push_back(std::move(file));
    // Into its place in the order, found by halving.
    int low = 0;
    int high = m_results->topLevelItemCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (orderedBefore(m_results->topLevelItem(middle), item))
            low = middle + 1;
        else
            high = middle;
    }
    m_results->insertTopLevelItem(low, item);
    if (m_results->topLevelItemCount() <= kExpandedRfcs) {
        addHitItems(item);
        item->setExpanded(true);
    }
}

void FindInRfcsDock::addHitItems(QTreeWidgetItem* item)
{
    const int index = item->data(0, kFileRole).toInt();
    if (item->childCount() > 0 || index < 0 || index >= int(m_files.size()))
        return;
    for (const SearchHit& hit : m_files[size_t(index)].hits) {
        auto* line = new QTreeWidgetItem(item);
        line->setText(0, QStringLiteral("Ln %1").arg(hit.line + 1));
        // The hit's place in characters, as the line is shown.
        const QString before = QString::fromUtf8(hit.lineText.data(), hit.column);
        const QString matched = QString::fromUtf8(hit.lineText.data() + hit.column, hit.length);
        line->setText(kTextColumn, fromBytes(hit.lineText));
        line->setData(0, kLineRole, hit.line);
        line->setData(kTextColumn, kColumnRole, int(before.size()));
        line->setData(kTextColumn, kLengthRole, int(matched.size()));
        if (!hit.sectionNumber.empty() || !hit.sectionTitle.empty())
            line->setText(
                2, fromBytes(hit.sectionNumber + (hit.sectionNumber.empty() ? "" : "  ") + hit.sectionTitle));
    }
}

void FindInRfcsDock::setOrder(Order order)
{
    m_order->setCurrentIndex(order == Order::ByRfc ? 0 : 1);
    // Taking items out closes them: keep what the reader opened.
    std::vector<std::pair<QTreeWidgetItem*, bool>> items;
    while (m_results->topLevelItemCount() > 0) {
        QTreeWidgetItem* item = m_results->topLevelItem(0);
        items.emplace_back(item, item->isExpanded());
        m_results->takeTopLevelItem(0);
    }
    std::stable_sort(items.begin(), items.end(),
                     [this](const auto& a, const auto& b) { return orderedBefore(a.first, b.first); });
    for (const auto& [item, expanded] : items) {
        m_results->addTopLevelItem(item);
        item->setExpanded(expanded);
    }
}

void FindInRfcsDock::openHit(QTreeWidgetItem* item)
{
    if (!item)
        return;
    // An RFC's own item opens it at its first hit.
    QTreeWidgetItem* rfcItem = item->parent() ? item->parent() : item;
    addHitItems(rfcItem);
    QTreeWidgetItem* hitItem = item->parent() ? item : item->child(0);
    if (!hitItem)
        return;
    if (!m_app.openDocumentFile(rfcItem->data(0, kPathRole).toString()))
        return;
    DocumentWindow* child = m_window.activeDocumentWindow();
    ReadingView* view = child ? child->view() : nullptr;
    if (!view)
        return;
    // The find bar marks every match of a plain phrase; a regular
    // expression, which it cannot look for, has its hit selected alone.
    if (!m_query.regularExpression) {
        if (FindBar* bar = view->finder().bar()) {
            bar->matchCaseBox()->setChecked(m_query.matchCase);
            bar->wholeWordBox()->setChecked(m_query.wholeWord);
            bar->open(fromBytes(m_query.text));
            emit bar->requestChanged();
        }
    }
    view->setCaretLineColumn(hitItem->data(0, kLineRole).toInt(),
                             hitItem->data(kTextColumn, kColumnRole).toInt());
    QTextCursor cursor = view->textCursor();
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor,
                        hitItem->data(kTextColumn, kLengthRole).toInt());
    view->setTextCursor(cursor);
    view->setFocus();
}

} // namespace parchly
