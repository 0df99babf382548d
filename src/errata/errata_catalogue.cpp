#include "errata/errata_catalogue.h"

#include <algorithm>
#include <tuple>

namespace parchly {

namespace {

// Ids are numbers written as text: "999" comes before "1000".
bool idBefore(const std::string& a, const std::string& b)
{
    return std::make_tuple(a.size(), a) < std::make_tuple(b.size(), b);
}

} // namespace

ErrataCatalogue::ErrataCatalogue(std::vector<Erratum> errata)
    : m_errata(std::move(errata))
{
    std::stable_sort(m_errata.begin(), m_errata.end(), [](const Erratum& a, const Erratum& b) {
        return a.rfc != b.rfc ? a.rfc < b.rfc : idBefore(a.id, b.id);
    });
}

std::vector<Erratum> ErrataCatalogue::errataOf(int32_t rfc) const
{
    const auto first = std::partition_point(m_errata.begin(), m_errata.end(),
                                            [rfc](const Erratum& erratum) { return erratum.rfc < rfc; });
    auto last = first;
    while (last != m_errata.end() && last->rfc == rfc)
        ++last;
    return std::vector<Erratum>(first, last);
}

std::string errataCountsText(const std::vector<Erratum>& errata)
{
    int verified = 0;
    int held = 0;
    int reported = 0;
    for (const Erratum& erratum : errata) {
        switch (erratumStatus(erratum.status)) {
        case ErratumStatus::Verified:
            ++verified;
            break;
        case ErratumStatus::Held:
            ++held;
            break;
        case ErratumStatus::Reported:
            ++reported;
            break;
        case ErratumStatus::Rejected:
        case ErratumStatus::Other:
            break;
        }
    }
    std::string text;
    const auto add = [&text](int count, const char* word) {
        if (count == 0)
            return;
        if (!text.empty())
            text += ", ";
        text += std::to_string(count) + " " + word;
    };
    add(verified, "verified");
    add(held, "held");
    add(reported, "reported");
    return text;
}

} // namespace parchly
