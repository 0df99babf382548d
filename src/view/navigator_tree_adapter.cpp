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
    return m_tree.GetRoot();
}

TreeItem NavigatorTreeAdapter::parent(TreeItem item) const
{
    return m_tree.GetParent(itemOf(item));
}

TreeItem NavigatorTreeAdapter::firstChild(TreeItem item) const
{
    return m_tree.GetChild(itemOf(item));
}

TreeItem NavigatorTreeAdapter::nextSibling(TreeItem item) const
{
    return m_tree.GetNextSibling(itemOf(item));
}

TreeItem NavigatorTreeAdapter::nextVisible(TreeItem item) const
{
    return m_tree.GetNextVisible(itemOf(item));
}

bool NavigatorTreeAdapter::isExpanded(TreeItem item) const
{
    return item && itemOf(item)->isExpanded();
}

int64_t NavigatorTreeAdapter::data(TreeItem item) const
{
    return m_tree.GetItemData(itemOf(item));
}

std::string NavigatorTreeAdapter::text(TreeItem item) const
{
    return m_tree.GetItemText(itemOf(item)).toStdString();
}

bool NavigatorTreeAdapter::isSelected(TreeItem item) const
{
    return item && m_tree.GetSelected() == itemOf(item);
}

void NavigatorTreeAdapter::select(TreeItem item)
{
    m_tree.SelectItem(itemOf(item));
}

} // namespace parchly
