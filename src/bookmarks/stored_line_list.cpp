#include "bookmarks/stored_line_list.h"

#include "bookmarks/stored_path.h"

#include <QListWidget>
#include <algorithm>

namespace parchly {

void appendStoredLine(QListWidget* list, const QString& storedLine)
{
    auto* item = new QListWidgetItem(fromStoredPath(storedLine));
    item->setData(Qt::UserRole, storedLine);
    list->addItem(item);
}

QString storedLineAt(const QListWidget* list, int row)
{
    const QListWidgetItem* item = list->item(row);
    return item ? item->data(Qt::UserRole).toString() : QString();
}

QStringList storedLines(const QListWidget* list)
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines << storedLineAt(list, row);
    return lines;
}

bool holdsStoredLine(const QListWidget* list, const QString& storedLine)
{
    for (int row = 0; row < list->count(); ++row) {
        if (equalIgnoringAsciiCase(storedLineAt(list, row), storedLine))
            return true;
    }
    return false;
}

QList<int> selectedRows(const QListWidget* list)
{
    QList<int> rows;
    for (const QListWidgetItem* item : list->selectedItems())
        rows << list->row(item);
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace parchly
