// The RFC index reader and the entry parser: every entry's lines lie in
// the file, and every number offset points at the digits of the number it
// names.
#include "index/index_entry.h"
#include "index/index_reader.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace parchly;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number written by the digits at `offset`: 0 when it does not fit an
// int32, as the parser counts it.
int64_t digitsAt(const std::string& text, std::size_t offset)
{
    int64_t value = 0;
    for (std::size_t i = offset; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX)
            return 0;
    }
    return value;
}

void checkNumbers(const std::string& text, const IndexNumberList& list)
{
    PARCHLY_CHECK(list.numbers.size() == list.offsets.size(), "one offset per number");
    for (std::size_t k = 0; k < list.offsets.size(); ++k) {
        const int32_t offset = list.offsets[k];
        PARCHLY_CHECK(offset >= 0 && static_cast<std::size_t>(offset) < text.size(),
                      "an offset lies in the text");
        PARCHLY_CHECK(isDigit(text[offset]), "an offset points at a digit");
        PARCHLY_CHECK(offset == 0 || !isDigit(text[offset - 1]),
                      "an offset points at a number's first digit");
        PARCHLY_CHECK(digitsAt(text, offset) == list.numbers[k], "the digits at an offset name its number");
    }
}

void checkEntry(const std::string& text)
{
    IndexEntryFields fields;
    parseIndexEntry(text, LimitsBlock(), fields);
    PARCHLY_CHECK(fields.titleStart >= 0 && static_cast<std::size_t>(fields.titleStart) <= text.size(),
                  "the title starts in the text");
    PARCHLY_CHECK(fields.formatStart >= 0 && static_cast<std::size_t>(fields.formatStart) <= text.size(),
                  "the format starts in the text");
    for (const IndexNumberList* list :
         {&fields.obsoletes, &fields.obsoletedBy, &fields.updates, &fields.updatedBy, &fields.also})
        checkNumbers(text, *list);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 65536)
        return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    checkEntry(input);

    RfcText index;
    LineReader file(input);
    readIndex(index, file);
    LineReader again(input);
    const std::vector<std::string> lines = readIndexLines(again);
    PARCHLY_CHECK(index.lineCount == static_cast<int32_t>(lines.size()), "the reader counts every line");
    for (const RfcIndexEntry& entry : index.indexEntries) {
        PARCHLY_CHECK(entry.firstLine >= 1 && entry.firstLine <= entry.lastLine
                          && entry.lastLine <= static_cast<int32_t>(lines.size()),
                      "an entry's lines lie in the file");
        checkEntry(indexEntryText(lines, entry));
    }
    return 0;
}
