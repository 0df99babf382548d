#include "index/index_status.h"

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"
#include "index/index_entry.h"
#include "index/index_reader.h"

#include <optional>

namespace parchly {

namespace {

bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A group may run over a line end: its words joined by single spaces.
std::string simplified(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (!isWhite(c))
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

} // namespace

std::vector<std::pair<std::string, int32_t>> alsoSeries(const std::string& entryText)
{
    std::vector<std::pair<std::string, int32_t>> series;
    const std::size_t group = entryText.find("(Also");
    if (group == std::string::npos)
        return series;
    const std::size_t end = entryText.find(')', group);
    const std::size_t last = end == std::string::npos ? entryText.size() : end;
    std::size_t at = group + 5;
    while (at < last) {
        if (!isUpper(entryText[at])) {
            ++at;
            continue;
        }
        const std::size_t wordStart = at;
        while (at < last && isUpper(entryText[at]))
            ++at;
        const std::string word = entryText.substr(wordStart, at - wordStart);
        while (at < last && isWhite(entryText[at]))
            ++at;
        if (at < last && isDigit(entryText[at]) && (word == "BCP" || word == "STD" || word == "FYI")) {
            const int32_t number = readIndexNumber(entryText, at);
            if (number > 0)
                series.emplace_back(word, number);
        }
        while (at < last && isDigit(entryText[at]))
            ++at;
    }
    return series;
}

void RfcIndexStatus::clear()
{
    m_entries.clear();
    m_series.clear();
}

bool RfcIndexStatus::read(const std::string& path)
{
    clear();
    std::optional<LineReader> reader = LineReader::open(path);
    if (!reader)
        return false;
    RfcText index;
    readIndex(index, *reader);
    reader->rewind();
    const std::vector<std::string> lines = readIndexLines(*reader);
    const LimitsBlock limits;
    for (const RfcIndexEntry& item : index.indexEntries) {
        const std::string text = indexEntryText(lines, item);
        IndexEntryFields fields;
        parseIndexEntry(text, limits, fields);
        IndexStatusEntry& entry = m_entries[item.number];
        entry.title = simplified(fields.title);
        entry.status = simplified(fields.status);
        entry.obsoletedBy = std::move(fields.obsoletedBy.numbers);
        entry.updatedBy = std::move(fields.updatedBy.numbers);
        entry.also = alsoSeries(text);
        for (const auto& series : entry.also)
            m_series[series].push_back(item.number);
    }
    return true;
}

const IndexStatusEntry* RfcIndexStatus::entry(int32_t number) const
{
    const auto found = m_entries.find(number);
    return found == m_entries.end() ? nullptr : &found->second;
}

const std::vector<int32_t>& RfcIndexStatus::seriesMembers(const std::string& series, int32_t number) const
{
    const auto found = m_series.find({series, number});
    return found == m_series.end() ? m_none : found->second;
}

} // namespace parchly
