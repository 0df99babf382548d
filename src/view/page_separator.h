// The separator line written onto a page boundary.
#ifndef PARCHLY_VIEW_PAGE_SEPARATOR_H
#define PARCHLY_VIEW_PAGE_SEPARATOR_H

#include <QString>

namespace parchly {

constexpr int kPageSeparatorLength = 72;

// " Page <page> " centred in a run of "-", exactly 72 characters.
QString pageSeparatorText(int page);

} // namespace parchly

#endif
