// The list boxes of the bookmarks and favourites dialogs. Each entry keeps
// its line exactly as it is stored, and shows it with "/" separators as the
// paths of this platform are written.
#ifndef PARCHLY_BOOKMARKS_STORED_LINE_LIST_H
#define PARCHLY_BOOKMARKS_STORED_LINE_LIST_H

#include <QStringList>

class QListWidget;

namespace parchly {

void appendStoredLine(QListWidget* list, const QString& storedLine);

QString storedLineAt(const QListWidget* list, int row);

QStringList storedLines(const QListWidget* list);

// Whether an entry equals `storedLine` apart from the case of ASCII letters.
bool holdsStoredLine(const QListWidget* list, const QString& storedLine);

// The rows of the selected entries, from the first to the last.
QList<int> selectedRows(const QListWidget* list);

} // namespace parchly

#endif
