#include "analysis/section_lookup.h"

#include "analysis/line_mapping.h"

#include <cstddef>

namespace parchly {

bool findContentEntryAtLine(const RfcText& text, const LineCuts& cuts, ShownLine line, int32_t& index)
{
    index = -1;
    if (text.isIndex) {
        for (std::size_t i = 0; i < text.indexEntries.size(); ++i) {
            const RfcIndexEntry& entry = text.indexEntries[i];
            // The index is shown whole: its lines are the file's.
            if (ShownLine::atNumber(entry.firstLine) <= line && line <= ShownLine::atNumber(entry.lastLine)) {
                index = static_cast<int32_t>(i);
                return true;
            }
        }
        return false;
    }
    for (std::size_t i = 0; i < text.contents.size(); ++i) {
        const ContentEntry& entry = text.contents[i];
        if (shownLineOf(text, cuts, FileLine::atNumber(entry.firstLine)) <= line
            && line <= shownLineOf(text, cuts, FileLine::atNumber(entry.lastLine))) {
            index = static_cast<int32_t>(i);
            return true;
        }
    }
    return false;
}

bool findSectionAtLine(const RfcText& text, const LineCuts& cuts, ShownLine line, int32_t& index)
{
    index = -1;
    const std::size_t count = text.isIndex ? text.indexEntries.size() : text.contents.size();
    for (std::size_t i = 0; i < count; ++i) {
        const ShownLine start = text.isIndex
            ? ShownLine::atNumber(text.indexEntries[i].firstLine)
            : shownLineOf(text, cuts, FileLine::atNumber(text.contents[i].headingLine));
        if (start > line)
            break;
        index = static_cast<int32_t>(i);
    }
    return index >= 0;
}

} // namespace parchly
