// What the RFC index lists, for the update: each RFC's number, title and
// status, and whether it is published as text.
#ifndef PARCHLY_UPDATE_INDEX_LISTING_H
#define PARCHLY_UPDATE_INDEX_LISTING_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace parchly {

struct ListedRfc {
    int32_t number = 0;
    std::string title;
    std::string status; // "PROPOSED STANDARD"; empty when the entry has none
    // The entry's "(Format: ...)" names TXT; "Not Issued" entries and those
    // published in other formats only have no text file to fetch.
    bool hasText = false;
};

// The entries of the index file at `path`, in the index's order; none when
// it cannot be read.
std::optional<std::vector<ListedRfc>> readIndexListing(const std::string& path);

// The entries of an index held in memory.
std::vector<ListedRfc> indexListing(const std::string& bytes);

// The highest RFC number listed; 0 for none.
int32_t highestListed(const std::vector<ListedRfc>& listing);

// Why a freshly fetched index cannot stand in for the local one, or empty
// when it can: it lists nothing, or stops below the highest RFC the local
// index lists (a file cut short in transit or on the server).
std::string freshIndexProblem(const std::vector<ListedRfc>& fresh, const std::vector<ListedRfc>& local);

} // namespace parchly

#endif
