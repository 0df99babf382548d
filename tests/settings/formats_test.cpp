#include "settings/formats.h"

#include <cstring>
#include <gtest/gtest.h>

namespace parchly {
namespace {

TextFormat withColour(const std::string& color)
{
    return textToFormat("F", "", color, "10");
}
TextFormat withSize(const std::string& size)
{
    return textToFormat("F", "", "0:0:0", size);
}

TEST(Formats, StyleWordsAreFoundAnywhereAndWrittenInAFixedOrder)
{
    TextFormat format = textToFormat("F", "strikeout underline italic bold", "0:0:0", "10");
    EXPECT_EQ(formatToText(format).style, "bold, italic, strikeout, underline");
    EXPECT_EQ(textToFormat("F", "nobold", "0:0:0", "10").effects, kEffectBold);
    EXPECT_EQ(textToFormat("F", "Bold, ITALIC", "0:0:0", "10").effects, 0u) << "words are lower case";

    // A flag that is on but not in the mask is not part of the format.
    format.mask = kMaskFace | kMaskColour | kMaskSize | kMaskItalic;
    EXPECT_EQ(formatToText(format).style, "italic");
}

TEST(Formats, ColourTextNeedsThreeNumbersAndKeepsTheirLowBytes)
{
    const std::pair<const char*, uint32_t> cases[] = {
        {"1:2:3", 0x030201u}, {" 1: +2:\t3 trailing", 0x030201u},
        {"255:128", 0u},      {"1 :2:3", 0u},
        {"red", 0u},          {"257:0:0", 1u},
        {"-1:0:0", 0xFFu},    {"99999999999:0:7", 0x0700FFu},
    };
    for (const auto& [text, colour] : cases)
        EXPECT_EQ(withColour(text).colour, colour) << text;
}

TEST(Formats, SizeIsInWholePointsAndHeldAtTheLargestShown)
{
    TextFormat format = withSize("12pt");
    EXPECT_EQ(format.height, 240);
    format.height = -250;
    EXPECT_EQ(formatToText(format).size, "-12");
    format.mask &= ~kMaskSize;
    EXPECT_EQ(formatToText(format).size, "10");
    EXPECT_EQ(withSize("abc").height, 0);
    EXPECT_EQ(withSize("99999999999").height, 1638 * 20);
}

TEST(Formats, FaceNamesAreCutToTheField)
{
    TextFormat format = textToFormat(std::string(40, 'x'), "", "0:0:0", "10");
    EXPECT_EQ(formatToText(format).font, std::string(31, 'x'));

    // A two-byte character that would not fit whole is left out, not split.
    const std::string utf8Name = std::string(30, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(formatToText(textToFormat(utf8Name, "", "0:0:0", "10")).font, std::string(30, 'a'));

    // A face field filled to the end without a terminator is read no further.
    std::memset(format.faceName, 'y', sizeof format.faceName);
    EXPECT_EQ(formatToText(format).font, std::string(32, 'y'));
}

TEST(Formats, TextFormsRoundTrip)
{
    const TextFormat format = textToFormat("Courier New", "italic, strikeout", "10:200:30", "14");
    const FormatTexts texts = formatToText(format);
    EXPECT_EQ(texts.font + "|" + texts.style + "|" + texts.color + "|" + texts.size,
              "Courier New|italic, strikeout|10:200:30|14");
    const TextFormat rebuilt = textToFormat(texts.font, texts.style, texts.color, texts.size);
    EXPECT_EQ(std::memcmp(&rebuilt, &format, sizeof format), 0);
}

} // namespace
} // namespace parchly
