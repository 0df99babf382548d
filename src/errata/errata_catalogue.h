// The errata of every RFC, as read from the database once, with the
// errata of one RFC found at once and the counts its index bar shows.
#ifndef PARCHLY_ERRATA_ERRATA_CATALOGUE_H
#define PARCHLY_ERRATA_ERRATA_CATALOGUE_H

#include "analysis/erratum.h"

#include <cstdint>
#include <string>
#include <vector>

namespace parchly {

class ErrataCatalogue {
public:
    ErrataCatalogue() = default;
    // Keeps every erratum, ordered by RFC and then by id as a number.
    explicit ErrataCatalogue(std::vector<Erratum> errata);

    // The errata of RFC `rfc`, by id; empty when it has none.
    std::vector<Erratum> errataOf(int32_t rfc) const;
    std::size_t size() const { return m_errata.size(); }
    bool empty() const { return m_errata.empty(); }

private:
    std::vector<Erratum> m_errata;
};

// "3 verified, 1 held, 2 reported": the counts of the statuses present,
// Rejected left out as it corrects nothing; empty when nothing is left.
std::string errataCountsText(const std::vector<Erratum>& errata);

} // namespace parchly

#endif
