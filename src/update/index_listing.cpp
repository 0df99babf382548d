#include "update/index_listing.h"

#include <algorithm>

#include "analysis/line_reader.h"
#include "index/index_entry.h"
#include "index/index_reader.h"

namespace parchly {

namespace {

bool namesText(const std::string& format)
{
    // "TXT=12345 bytes" in older indexes, "TXT, HTML" today.
    for (std::size_t at = format.find("TXT"); at != std::string::npos; at = format.find("TXT", at + 1)) {
        const bool startsWord = at == 0 || !std::isalpha(static_cast<unsigned char>(format[at - 1]));
        const bool endsWord =
            at + 3 == format.size() || !std::isalpha(static_cast<unsigned char>(format[at + 3]));
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

std::vector<ListedRfc> listingOf(LineReader reader, LineReader linesReader)
{
    RfcText index;
    readIndex(index, reader);
    const std::vector<std::string> lines = readIndexLines(linesReader);
    std::vector<ListedRfc> listing;
    listing.reserve(index.indexEntries.size());
    const LimitsBlock limits{};
    for (const RfcIndexEntry& entry : index.indexEntries) {
        IndexEntryFields fields;
        if (entry.number < 1 || !parseIndexEntry(indexEntryText(lines, entry), limits, fields))
            continue;
        ListedRfc listed;
        listed.number = entry.number;
        listed.title = fields.title;
        listed.status = fields.status;
        listed.hasText = namesText(fields.format);
        listing.push_back(std::move(listed));
    }
    return listing;
}

} // namespace

std::optional<std::vector<ListedRfc>> readIndexListing(const std::string& path)
{
    std::optional<LineReader> reader = LineReader::open(path);
    std::optional<LineReader> linesReader = LineReader::open(path);
    if (!reader || !linesReader)
        return std::nullopt;
    return listingOf(std::move(*reader), std::move(*linesReader));
}

std::vector<ListedRfc> indexListing(const std::string& bytes)
{
    return listingOf(LineReader(bytes), LineReader(bytes));
}

int32_t highestListed(const std::vector<ListedRfc>& listing)
{
    int32_t highest = 0;
    for (const ListedRfc& listed : listing)
        highest = std::max(highest, listed.number);
    return highest;
}

std::string freshIndexProblem(const std::vector<ListedRfc>& fresh, const std::vector<ListedRfc>& local)
{
    if (fresh.empty())
        return "The RFC index that arrived lists no RFC; the local index is kept.";
    const int32_t freshHighest = highestListed(fresh);
    const int32_t localHighest = highestListed(local);
    if (freshHighest < localHighest)
        return "The RFC index that arrived is cut short: it ends at RFC " + std::to_string(freshHighest)
            + " where the local one reaches RFC " + std::to_string(localHighest)
            + "; the local index is kept.";
    return std::string();
}

} // namespace parchly
