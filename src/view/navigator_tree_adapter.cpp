#include "view/navigator_tree_adapter.h"

#include "platform/tree_view.h"

namespace parchly {

namespace {

QTreeWidgetItem* itemOf(TreeItem item)
{
    return const_cast<QTreeWidgetItem*>(static_cast<const QTreeWidgetItem*>(item));
}

} // namespace

TreeItem NavigatorTreeAdapter::firstTopLevelItem() const
{
    return m_tree.topLevelItem(0);
}

TreeItem NavigatorTreeAdapter::parent(TreeItem item) const
{
    return m_tree.parentItem(itemOf(item));
}

TreeItem NavigatorTreeAdapter::firstChild(TreeItem item) const
{
    return m_tree.firstChild(itemOf(item));
}

TreeItem NavigatorTreeAdapter::nextSibling(TreeItem item) const
{
    return m_tree.nextSibling(itemOf(item));
}

TreeItem NavigatorTreeAdapter::nextVisible(TreeItem item) const
{
    return m_tree.nextVisible(itemOf(item));
}

bool NavigatorTreeAdapter::isExpanded(TreeItem item) const
{
    return item && itemOf(item)->isExpanded();
}

int64_t NavigatorTreeAdapter::data(TreeItem item) const
{
    return m_tree.itemData(itemOf(item));
}

std::string NavigatorTreeAdapter::text(TreeItem item) const
{
    return m_tree.itemText(itemOf(item)).toStdString();
}

bool NavigatorTreeAdapter::isSelected(TreeItem item) const
{
    return item && m_tree.currentItem() == itemOf(item);
}

void NavigatorTreeAdapter::select(TreeItem item)
{
    m_tree.selectItem(itemOf(item));
}

} // namespace parchly
