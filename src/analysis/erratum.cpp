#include "analysis/erratum.h"

#include "analysis/ascii.h"

namespace parchly {

const char* placedByName(PlacedBy placedBy)
{
    switch (placedBy) {
    case PlacedBy::Text:
        return "text";
    case PlacedBy::Section:
        return "section";
    case PlacedBy::Top:
        break;
    }
    return "top";
}

ErratumStatus erratumStatus(const std::string& status)
{
    const std::string lower = lowerAsciiCopy(status);
    if (lower.find("verified") != std::string::npos)
        return ErratumStatus::Verified;
    if (lower.find("held") != std::string::npos)
        return ErratumStatus::Held;
    if (lower.find("reported") != std::string::npos)
        return ErratumStatus::Reported;
    if (lower.find("rejected") != std::string::npos)
        return ErratumStatus::Rejected;
    return ErratumStatus::Other;
}

bool isTechnical(const Erratum& erratum)
{
    return startsWithIgnoringAsciiCase(erratum.type, "technical");
}

} // namespace parchly
