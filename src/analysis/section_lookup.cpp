#include "analysis/section_lookup.h"

#include "analysis/line_mapping.h"

#include <cstddef>

namespace parchly {

bool findContentEntryAtLine(const RfcText& text, const LineCuts& cuts, int32_t line, int32_t& index)
{
    index = -1;
    if (text.isIndex) {
        for (std::size_t i = 0; i < text.indexEntries.size(); ++i) {
            const RfcIndexEntry& entry = text.indexEntries[i];
            if (entry.firstLine <= line && line <= entry.lastLine) {
                index = static_cast<int32_t>(i);
                return true;
            }
        }
        return false;
    }
    for (std::size_t i = 0; i < text.contents.size(); ++i) {
        const ContentEntry& entry = text.contents[i];
        if (fileLineToDisplay(text, cuts, entry.firstLine) <= line
            && line <= fileLineToDisplay(text, cuts, entry.lastLine)) {
            index = static_cast<int32_t>(i);
            return true;
        }
    }
    return false;
}

bool findSectionAtLine(const RfcText& text, const LineCuts& cuts, int32_t line, int32_t& index)
{
    index = -1;
    const std::size_t count = text.isIndex ? text.indexEntries.size() : text.contents.size();
    for (std::size_t i = 0; i < count; ++i) {
        const int32_t start = text.isIndex ? text.indexEntries[i].firstLine
                                           : fileLineToDisplay(text, cuts, text.contents[i].headingLine);
        if (start > line)
            break;
        index = static_cast<int32_t>(i);
    }
    return index >= 0;
}

} // namespace parchly
