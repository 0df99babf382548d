#include "settings/formats.h"
#include "support/fixture_cases.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace parchly {
namespace {

// The four texts of a format's section, as stored.
std::string stored(const TextFormat& format)
{
    const FormatTexts texts = formatToText(format);
    return texts.font + "|" + texts.style + "|" + texts.color + "|" + texts.size;
}

// Style words are found anywhere in lower case and written in a fixed order;
// a colour needs three numbers and keeps their low bytes; a size is in whole
// points, held at the largest shown; a face is cut to its field, never
// inside a character.
TEST(Formats, StoredTextsReadToTheFormatThatIsStoredAgain)
{
    for (const test::FixtureCase& c : test::readFixtureCases("settings/stored-formats.txt")) {
        SCOPED_TRACE(c.title);
        const TextFormat format = textToFormat(c["face"], c["style"], c["colour"], c["size"]);
        EXPECT_EQ(stored(format), c["written"]);
        const FormatTexts texts = formatToText(format);
        const TextFormat again = textToFormat(texts.font, texts.style, texts.color, texts.size);
        EXPECT_EQ(std::memcmp(&again, &format, sizeof format), 0);
    }
}

TEST(Formats, OnlyWhatTheMaskHoldsIsWritten)
{
    TextFormat format = textToFormat("F", "italic, bold", "0:0:0", "10");
    format.mask = kMaskFace | kMaskColour | kMaskSize | kMaskItalic;
    format.height = -250;
    EXPECT_EQ(stored(format), "F|italic|0:0:0|-12");
    format.mask &= ~kMaskSize;
    EXPECT_EQ(formatToText(format).size, "10");

    // A face field filled to the end without a terminator is read no further.
    std::memset(format.faceName, 'y', sizeof format.faceName);
    EXPECT_EQ(formatToText(format).font, std::string(32, 'y'));
}

// The relative luminance of a 0x00BBGGRR colour, as WCAG 2 counts it.
double luminance(uint32_t colour)
{
    double sum = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};
    for (int part = 0; part < 3; ++part) {
        const double c = ((colour >> (8 * part)) & 0xFF) / 255.0;
        sum += weights[part] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

// Every default colour reads on the white page: a contrast of at least 4.5
// to 1, as WCAG asks of text. The errata's colour is a background: black
// text reads on it.
TEST(Formats, EveryDefaultColourReadsOnWhite)
{
    for (int category = 0; category < kFormatCategoryCount; ++category) {
        const double tint = luminance(defaultFormat(category).colour) + 0.05;
        EXPECT_GE(category == kFormatErrata ? tint / 0.05 : 1.05 / tint, 4.5) << category;
    }
}

} // namespace
} // namespace parchly
