// The node counts of the RFC Index tree as typed on the Options dialog's
// Regular page: decimal counts separated by commas, each at least 10 and
// smaller than the one before ("500, 50").
#ifndef PARCHLY_APP_OPTIONS_LEVEL_COUNTS_H
#define PARCHLY_APP_OPTIONS_LEVEL_COUNTS_H

#include <QString>
#include <cstdint>
#include <vector>

namespace parchly {

// The counts of `text`, or false with the message to show when the text is
// not acceptable (`counts` is then left as it was).
bool parseLevelCounts(const QString& text, std::vector<int32_t>& counts, QString& message);

// The counts as the page shows them: "500, 50".
QString formatLevelCounts(const std::vector<int32_t>& counts);

} // namespace parchly

#endif
