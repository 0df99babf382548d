// The list of RFCs an update brought or a check found new: number, title
// and status from the index, each row openable once its file is there.
#ifndef PARCHLY_DOWNLOAD_RFC_LIST_H
#define PARCHLY_DOWNLOAD_RFC_LIST_H

#include <QTreeWidget>

#include <cstdint>
#include <vector>

#include "update/index_listing.h"

namespace parchly {

class RfcList : public QTreeWidget {
    Q_OBJECT

public:
    explicit RfcList(QWidget* parent = nullptr);

    // Shows `rfcs`, the rows in the order given.
    void setRfcs(const std::vector<ListedRfc>& rfcs);
    // The numbers of the selected rows; all rows when `all`.
    std::vector<int32_t> numbers(bool all) const;

signals:
    // A row was activated (double click, Enter).
    void openRfc(int32_t number);
};

// The index's entries for `numbers`, from the index in `folder`; an RFC the
// index does not list gets its number alone.
std::vector<ListedRfc> listedRfcs(const std::string& folder, const std::vector<int32_t>& numbers);

} // namespace parchly

#endif
