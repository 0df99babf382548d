#include "app/formats.h"

#include <cstring>
#include <gtest/gtest.h>

namespace parchly {
namespace {

FormatTexts texts(const std::string& font, const std::string& style, const std::string& color,
                  const std::string& size)
{
    return FormatTexts{font, style, color, size};
}

void expectTexts(const FormatTexts& actual, const FormatTexts& expected)
{
    EXPECT_EQ(actual.font, expected.font);
    EXPECT_EQ(actual.style, expected.style);
    EXPECT_EQ(actual.color, expected.color);
    EXPECT_EQ(actual.size, expected.size);
}

TEST(Formats, CategoriesAndTheirBuiltInFormats)
{
    EXPECT_STREQ(CategoryName(kFormatDefault), "Default");
    EXPECT_STREQ(CategoryName(kFormatTitle), "RFC Title");
    EXPECT_STREQ(CategoryName(kFormatContents), "Table of Contents");
    EXPECT_STREQ(CategoryName(kFormatSubtitles), "Subtitles");
    EXPECT_STREQ(CategoryName(kFormatHeadersFooters), "Headers and Footers");
    EXPECT_STREQ(CategoryName(-1), "");
    EXPECT_STREQ(CategoryName(kFormatCategoryCount), "");

    const char* const colours[] = {"0:0:0", "0:0:255", "0:0:255", "0:0:255", "0:255:0"};
    for (int category = 0; category < kFormatCategoryCount; ++category) {
        SCOPED_TRACE(category);
        const TextFormat format = DefaultFormat(category);
        EXPECT_EQ(format.size, 60u);
        EXPECT_EQ(format.mask, 0xE000000Fu);
        EXPECT_EQ(format.effects, 0u);
        EXPECT_EQ(format.height, 200);
        EXPECT_EQ(format.offset, 0);
        expectTexts(FormatToText(format), texts("Fixedsys", "", colours[category], "10"));
    }
    EXPECT_EQ(DefaultFormat(kFormatHeadersFooters).colour, 0x00FF00u);
    EXPECT_EQ(DefaultFormat(kFormatTitle).colour, 0xFF0000u);
}

TEST(Formats, StyleWordsAreFoundAnywhereAndWrittenInAFixedOrder)
{
    TextFormat format = TextToFormat("F", "underline, bold", "0:0:0", "10");
    EXPECT_EQ(format.effects, kEffectBold | kEffectUnderline);
    EXPECT_EQ(FormatToText(format).style, "bold, underline");

    format = TextToFormat("F", "strikeout underline italic bold", "0:0:0", "10");
    EXPECT_EQ(FormatToText(format).style, "bold, italic, strikeout, underline");

    EXPECT_EQ(TextToFormat("F", "nobold", "0:0:0", "10").effects, kEffectBold);
    EXPECT_EQ(TextToFormat("F", "Bold, ITALIC", "0:0:0", "10").effects, 0u);
    EXPECT_EQ(TextToFormat("F", "", "0:0:0", "10").effects, 0u);

    // A flag that is on but not in the mask is not part of the format.
    format.mask = kMaskFace | kMaskColour | kMaskSize | kMaskItalic;
    EXPECT_EQ(FormatToText(format).style, "italic");
}

TEST(Formats, ColourTextNeedsThreeNumbersAndKeepsTheirLowBytes)
{
    EXPECT_EQ(TextToFormat("F", "", "1:2:3", "10").colour, 0x030201u);
    EXPECT_EQ(TextToFormat("F", "", "255:128", "10").colour, 0u);
    EXPECT_EQ(TextToFormat("F", "", "256:0:0", "10").colour, 0u);
    EXPECT_EQ(TextToFormat("F", "", "257:0:0", "10").colour, 1u);
    EXPECT_EQ(TextToFormat("F", "", "-1:0:0", "10").colour, 0xFFu);
    EXPECT_EQ(TextToFormat("F", "", " 1: +2:\t3 trailing", "10").colour, 0x030201u);
    EXPECT_EQ(TextToFormat("F", "", "1 :2:3", "10").colour, 0u);
    EXPECT_EQ(TextToFormat("F", "", "red", "10").colour, 0u);
    EXPECT_EQ(TextToFormat("F", "", "", "10").colour, 0u);
    EXPECT_EQ(TextToFormat("F", "", "99999999999:0:7", "10").colour, 0x0700FFu);
    EXPECT_EQ(FormatToText(TextToFormat("F", "", "12:34:56", "10")).color, "12:34:56");
}

TEST(Formats, SizeIsInWholePoints)
{
    TextFormat format = TextToFormat("F", "", "0:0:0", "12pt");
    EXPECT_EQ(format.height, 240);
    format.height = 250;
    EXPECT_EQ(FormatToText(format).size, "12");
    format.height = -250;
    EXPECT_EQ(FormatToText(format).size, "-12");
    format.mask &= ~kMaskSize;
    EXPECT_EQ(FormatToText(format).size, "10");

    EXPECT_EQ(TextToFormat("F", "", "0:0:0", "abc").height, 0);
    EXPECT_EQ(TextToFormat("F", "", "0:0:0", "").height, 0);
    // A size beyond what the view can show is held at its largest.
    EXPECT_EQ(TextToFormat("F", "", "0:0:0", "99999999999").height, 1638 * 20);
}

TEST(Formats, FaceNamesAreCutToTheField)
{
    const std::string longName(40, 'x');
    TextFormat format = TextToFormat(longName, "", "0:0:0", "10");
    EXPECT_EQ(FormatToText(format).font, std::string(31, 'x'));
    EXPECT_EQ(format.faceName[31], '\0');

    // Thirty ASCII bytes and a two-byte character: the character would not
    // fit whole, so it is left out rather than split.
    const std::string utf8Name = std::string(30, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(FormatToText(TextToFormat(utf8Name, "", "0:0:0", "10")).font, std::string(30, 'a'));
    EXPECT_EQ(FormatToText(TextToFormat("Lucida Console", "", "0:0:0", "10")).font,
              "Lucida Console");

    // A face field filled to the end without a terminator is read no further.
    std::memset(format.faceName, 'y', sizeof format.faceName);
    EXPECT_EQ(FormatToText(format).font, std::string(32, 'y'));
}

TEST(Formats, TextFormsRoundTrip)
{
    const TextFormat format = TextToFormat("Courier New", "italic, strikeout", "10:200:30", "14");
    const FormatTexts rendered = FormatToText(format);
    expectTexts(rendered, texts("Courier New", "italic, strikeout", "10:200:30", "14"));
    const TextFormat rebuilt =
        TextToFormat(rendered.font, rendered.style, rendered.color, rendered.size);
    EXPECT_EQ(std::memcmp(&rebuilt, &format, sizeof format), 0);
}

} // namespace
} // namespace parchly
