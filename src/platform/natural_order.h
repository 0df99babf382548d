// Names ordered as a reader counts: the digits in them by their value, so
// that rfc2.txt comes before rfc10.txt, and letters without regard to case.
#ifndef PARCHLY_PLATFORM_NATURAL_ORDER_H
#define PARCHLY_PLATFORM_NATURAL_ORDER_H

#include <QSortFilterProxyModel>
#include <QString>

namespace parchly {

// Whether `a` comes before `b`: runs of digits compare by value (a shorter
// run of equal value, "07" against "7", goes first), everything else by
// its case-folded character, then the names as they are.
bool naturalLess(const QString& a, const QString& b);

// Orders the names of a file dialog's folder by naturalLess, folders first.
class NaturalOrderProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

} // namespace parchly

#endif
