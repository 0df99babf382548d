// What the RFC index says of each RFC, read once for all windows: its
// status, the RFCs that obsolete or update it, the series it also belongs
// to, and for each series number the RFCs that make it up.
#ifndef PARCHLY_INDEX_INDEX_STATUS_H
#define PARCHLY_INDEX_INDEX_STATUS_H

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace parchly {

struct IndexStatusEntry {
    std::string title; // its words joined by single spaces
    std::string status; // "PROPOSED STANDARD"; empty when the entry has none
    std::vector<int32_t> obsoletedBy;
    std::vector<int32_t> updatedBy;
    // The series of "(Also BCP0014)": {"BCP", 14}.
    std::vector<std::pair<std::string, int32_t>> also;
};

class RfcIndexStatus {
public:
    // Reads the index at `path` over whatever was read before; false (and
    // empty) when the file cannot be read.
    bool read(const std::string& path);
    void clear();

    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }

    // The entry of RFC `number`, or null.
    const IndexStatusEntry* entry(int32_t number) const;

    // The RFCs of series `series` ("BCP", "STD", "FYI") number `number`, in
    // the index's order; empty when the index does not say.
    const std::vector<int32_t>& seriesMembers(const std::string& series, int32_t number) const;

private:
    std::unordered_map<int32_t, IndexStatusEntry> m_entries;
    std::map<std::pair<std::string, int32_t>, std::vector<int32_t>> m_series;
    std::vector<int32_t> m_none;
};

// The series of an entry's "(Also ...)" group ("BCP0014, STD0001" or "BCP
// 14"), in the order written; RFC numbers in it are passed over.
std::vector<std::pair<std::string, int32_t>> alsoSeries(const std::string& entryText);

} // namespace parchly

#endif
