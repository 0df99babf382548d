// Helpers shared by the index tests: reading text or a fixture as the
// index document would.
#ifndef PARCHLY_TESTS_INDEX_INDEX_TEST_SUPPORT_H
#define PARCHLY_TESTS_INDEX_INDEX_TEST_SUPPORT_H

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"
#include "index/index_entry.h"
#include "index/index_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace parchly::test {

// The raw bytes of a file; empty when it cannot be read.
inline std::string fileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline std::string indexFixture(const std::string& name)
{
    return fileBytes(std::string(PARCHLY_FIXTURES_DIR) + "/index/" + name);
}

inline RfcText readIndexFrom(const std::string& rawBytes)
{
    LineReader reader(rawBytes);
    RfcText index;
    readIndex(index, &reader, LimitsBlock());
    return index;
}

// Checks that each offset of `list` points at digits in `text` whose value
// is the number recorded beside it.
inline void expectOffsetsOnDigits(const std::string& text, const IndexNumberList& list)
{
    ASSERT_EQ(list.offsets.size(), list.numbers.size());
    for (std::size_t k = 0; k < list.numbers.size(); ++k) {
        std::size_t position = static_cast<std::size_t>(list.offsets[k]);
        ASSERT_LT(position, text.size());
        EXPECT_EQ(readIndexNumber(text, position), list.numbers[k]) << "offset " << position;
    }
}

inline void expectOffsetsOnDigits(const std::string& text, const IndexEntryFields& fields)
{
    for (const IndexNumberList* list :
         {&fields.obsoletes, &fields.obsoletedBy, &fields.updates, &fields.updatedBy, &fields.also})
        expectOffsetsOnDigits(text, *list);
}

} // namespace parchly::test

#endif
