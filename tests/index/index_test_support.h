// Helpers shared by the index tests: reading text as the index document
// would, and checking that recorded numbers stand where they are said to.
#ifndef PARCHLY_TESTS_INDEX_INDEX_TEST_SUPPORT_H
#define PARCHLY_TESTS_INDEX_INDEX_TEST_SUPPORT_H

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"
#include "index/index_entry.h"
#include "index/index_reader.h"
#include "support/fixture_cases.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace parchly::test {

inline RfcText readIndexFrom(const std::string& rawBytes)
{
    LineReader reader(rawBytes);
    RfcText index;
    readIndex(index, reader);
    return index;
}

// Checks that each offset of the entry's number lists points at digits in
// `text` whose value is the number recorded beside it.
inline void expectOffsetsOnDigits(const std::string& text, const IndexEntryFields& fields)
{
    for (const IndexNumberList* list :
         {&fields.obsoletes, &fields.obsoletedBy, &fields.updates, &fields.updatedBy, &fields.also}) {
        ASSERT_EQ(list->offsets.size(), list->numbers.size());
        for (std::size_t k = 0; k < list->numbers.size(); ++k) {
            std::size_t position = static_cast<std::size_t>(list->offsets[k]);
            ASSERT_LT(position, text.size());
            EXPECT_EQ(readIndexNumber(text, position), list->numbers[k]) << "offset " << list->offsets[k];
        }
    }
}

} // namespace parchly::test

#endif
