#include "platform/tree_view.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>
#include <QIcon>
#include <QPixmap>

namespace parchly {

namespace {

constexpr int kDataRole = Qt::UserRole;
constexpr int kNormalImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;

// Sets m_cause for the duration of one event and restores Program after it,
// so that a change outside user input always reads as the program's.
class CauseScope {
public:
    CauseScope(SelectionCause& cause, SelectionCause during)
        : m_cause(cause)
    {
        m_cause = during;
    }
    ~CauseScope() { m_cause = SelectionCause::Program; }

private:
    SelectionCause& m_cause;
};

} // namespace

TreeView::TreeView(QWidget* parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(19, 19));
    setDragDropMode(QAbstractItemView::NoDragDrop);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
        emit selectionChangedBy(current, m_cause);
    });
}

void TreeView::setImageList(const QList<QImage>& images)
{
    m_images = images;
}

TreeView::Item TreeView::insertItem(Item parent, const QString& text)
{
    Item item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, text);
    item->setData(0, kDataRole, -1);
    return item;
}

void TreeView::setItemData(Item item, int32_t value)
{
    if (item)
        item->setData(0, kDataRole, value);
}

int32_t TreeView::itemData(Item item) const
{
    return item ? item->data(0, kDataRole).toInt() : -1;
}

void TreeView::setItemImages(Item item, int normal, int selected)
{
    if (!item)
        return;
    item->setData(0, kNormalImageRole, normal);
    item->setData(0, kSelectedImageRole, selected);
    applyImages(item);
}

void TreeView::applyImages(Item item)
{
    const int normal = item->data(0, kNormalImageRole).toInt();
    const int selected = item->data(0, kSelectedImageRole).toInt();
    if (normal < 0 || normal >= m_images.size() || selected < 0 || selected >= m_images.size())
        return;
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(m_images[normal]), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(m_images[selected]), QIcon::Selected);
    item->setIcon(0, icon);
}

QString TreeView::itemText(Item item) const
{
    return item ? item->text(0) : QString();
}

TreeView::Item TreeView::firstChild(Item item) const
{
    return item ? item->child(0) : nullptr;
}

TreeView::Item TreeView::nextSibling(Item item) const
{
    if (!item)
        return nullptr;
    if (Item parent = item->parent())
        return parent->child(parent->indexOfChild(item) + 1);
    return topLevelItem(indexOfTopLevelItem(item) + 1);
}

TreeView::Item TreeView::nextVisible(Item item) const
{
    return item ? itemBelow(item) : nullptr;
}

TreeView::Item TreeView::parentItem(Item item) const
{
    return item ? item->parent() : nullptr;
}

void TreeView::selectItem(Item item)
{
    CauseScope scope(m_cause, SelectionCause::Program);
    setCurrentItem(item);
    if (item)
        scrollToItem(item);
    else
        clearSelection();
}

QString TreeView::cutTextAt(const QPoint& point) const
{
    QTreeWidgetItem* item = itemAt(point);
    if (!item)
        return QString();
    const QString text = item->text(0);
    // The text starts after the item's image and the style's margin.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int textStart = visualItemRect(item).left() + iconSize().width() + 2 * margin;
    const bool cut = textStart + fontMetrics().horizontalAdvance(text) + margin > viewport()->width();
    return cut ? text : QString();
}

bool TreeView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QTreeWidget::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = cutTextAt(help->pos());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, viewport(), visualItemRect(itemAt(help->pos())));
    return true;
}

void TreeView::mousePressEvent(QMouseEvent* event)
{
    CauseScope scope(m_cause, SelectionCause::Mouse);
    QTreeWidget::mousePressEvent(event);
}

void TreeView::keyPressEvent(QKeyEvent* event)
{
    CauseScope scope(m_cause, SelectionCause::Keyboard);
    QTreeWidget::keyPressEvent(event);
}

} // namespace parchly
