#include "download/rfc_list.h"

#include <QHeaderView>

#include <unordered_map>

namespace parchly {

RfcList::RfcList(QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("rfcList"));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHeaderLabels({QStringLiteral("RFC"), QStringLiteral("Title"), QStringLiteral("Status")});
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(this, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { emit openRfc(item->data(0, Qt::UserRole).toInt()); });
}

void RfcList::setRfcs(const std::vector<ListedRfc>& rfcs)
{
    clear();
    QList<QTreeWidgetItem*> items;
    for (const ListedRfc& rfc : rfcs) {
        auto* item = new QTreeWidgetItem({QString::number(rfc.number), QString::fromStdString(rfc.title),
                                          QString::fromStdString(rfc.status)});
        item->setData(0, Qt::UserRole, rfc.number);
        item->setToolTip(1, QString::fromStdString(rfc.title));
        items << item;
    }
    addTopLevelItems(items);
    if (!items.isEmpty())
        setCurrentItem(items.first());
}

std::vector<int32_t> RfcList::numbers(bool all) const
{
    std::vector<int32_t> result;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = topLevelItem(row);
        if (all || item->isSelected())
            result.push_back(item->data(0, Qt::UserRole).toInt());
    }
    return result;
}

std::vector<ListedRfc> listedRfcs(const std::string& folder, const std::vector<int32_t>& numbers)
{
    const std::vector<ListedRfc> listing =
        readIndexListing(folder + "/rfc-index.txt").value_or(std::vector<ListedRfc>());
    std::unordered_map<int32_t, const ListedRfc*> byNumber;
    for (const ListedRfc& listed : listing)
        byNumber[listed.number] = &listed;
    std::vector<ListedRfc> result;
    for (int32_t number : numbers) {
        const auto found = byNumber.find(number);
        if (found != byNumber.end()) {
            result.push_back(*found->second);
        } else {
            ListedRfc bare;
            bare.number = number;
            result.push_back(bare);
        }
    }
    return result;
}

} // namespace parchly
