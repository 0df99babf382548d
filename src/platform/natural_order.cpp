#include "platform/natural_order.h"

#include <QFileSystemModel>

namespace parchly {

namespace {

// The end of the run of digits that starts at `from`.
qsizetype digitsEnd(const QString& text, qsizetype from)
{
    while (from < text.size() && text[from].isDigit())
        ++from;
    return from;
}

} // namespace

bool naturalLess(const QString& a, const QString& b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype aEnd = digitsEnd(a, i);
            const qsizetype bEnd = digitsEnd(b, j);
            // Leading zeros do not count towards the value.
            qsizetype aStart = i;
            qsizetype bStart = j;
            while (aStart + 1 < aEnd && a[aStart] == QLatin1Char('0'))
                ++aStart;
            while (bStart + 1 < bEnd && b[bStart] == QLatin1Char('0'))
                ++bStart;
            const qsizetype aLength = aEnd - aStart;
            const qsizetype bLength = bEnd - bStart;
            if (aLength != bLength)
                return aLength < bLength;
            const int digits =
                QStringView(a).mid(aStart, aLength).compare(QStringView(b).mid(bStart, bLength));
            if (digits != 0)
                return digits < 0;
            if (aEnd - i != bEnd - j)
                return aEnd - i < bEnd - j;
            i = aEnd;
            j = bEnd;
            continue;
        }
        const QChar x = a[i].toCaseFolded();
        const QChar y = b[j].toCaseFolded();
        if (x != y)
            return x < y;
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    return a < b;
}

bool NaturalOrderProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    if (left.column() != 0)
        return QSortFilterProxyModel::lessThan(left, right);
    if (const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel())) {
        const bool leftFolder = files->isDir(left);
        if (leftFolder != files->isDir(right))
            return leftFolder;
    }
    return naturalLess(left.data().toString(), right.data().toString());
}

} // namespace parchly
