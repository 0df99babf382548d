#include "settings/formats.h"

#include <algorithm>
#include <cstring>

#include "settings/leading_integer.h"

namespace parchly {

namespace {

constexpr int kTwipsPerPoint = 20;

// The largest size, in points, the text control accepts; a larger stored
// size would otherwise overflow the height in twentieths of a point.
constexpr int kMaxPoints = 1638;

struct StyleWord {
    uint32_t flag;
    const char* word;
};

// The order in which the style words are written.
constexpr StyleWord kStyleWords[] = {
    {kEffectBold, "bold"},
    {kEffectItalic, "italic"},
    {kEffectStrikeout, "strikeout"},
    {kEffectUnderline, "underline"},
};

// How many bytes of `font` fit in the face name without splitting a UTF-8
// sequence.
std::size_t faceNameLength(const std::string& font)
{
    std::size_t length = std::min<std::size_t>(font.size(), kFaceNameSize - 1);
    if (length < font.size()) {
        // Step back over continuation bytes to the start of the cut character.
        while (length > 0 && (static_cast<unsigned char>(font[length]) & 0xC0) == 0x80)
            --length;
    }
    return length;
}

// Reads "%d:%d:%d"; false unless all three numbers are there.
bool readColour(const std::string& text, uint32_t& colour)
{
    const char* cursor = text.c_str();
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && *cursor++ != ':')
            return false;
        if (!readLeadingInteger(cursor, parts[i]))
            return false;
    }
    colour = 0;
    for (int i = 0; i < 3; ++i)
        colour |= (static_cast<uint32_t>(parts[i]) & 0xFF) << (8 * i);
    return true;
}

} // namespace

const char* categoryName(int category)
{
    static const char* const kNames[kFormatCategoryCount] = {
        "Default",
        "RFC Title",
        "Table of Contents",
        "Subtitles",
        "Headers and Footers",
        "Obsoleted RFC",
        "Requirement Keywords",
        "Errata",
    };
    return (category >= 0 && category < kFormatCategoryCount) ? kNames[category] : "";
}

TextFormat defaultFormat(int category)
{
    static const char* const kColours[kFormatCategoryCount] = {
        "0:0:0", "0:0:255", "0:0:255", "0:0:255", "0:128:0", "192:0:0", "112:48:160", "255:243:176",
    };
    const bool known = category >= 0 && category < kFormatCategoryCount;
    return textToFormat("Fixedsys", "", kColours[known ? category : kFormatDefault], "10");
}

FormatTexts formatToText(const TextFormat& format)
{
    FormatTexts texts;
    texts.font = std::string(format.faceName, strnlen(format.faceName, kFaceNameSize));
    for (const StyleWord& style : kStyleWords) {
        if ((format.mask & style.flag) && (format.effects & style.flag)) {
            if (!texts.style.empty())
                texts.style += ", ";
            texts.style += style.word;
        }
    }
    const uint32_t colour = format.colour;
    texts.color = std::to_string(colour & 0xFF) + ":" + std::to_string((colour >> 8) & 0xFF) + ":"
        + std::to_string((colour >> 16) & 0xFF);
    texts.size = (format.mask & kMaskSize) ? std::to_string(format.height / kTwipsPerPoint) : "10";
    return texts;
}

TextFormat textToFormat(const std::string& font, const std::string& style, const std::string& color,
                        const std::string& size)
{
    TextFormat format;
    std::memset(&format, 0, sizeof format);
    format.size = sizeof(TextFormat);
    format.mask = kMaskAll;
    std::memcpy(format.faceName, font.data(), faceNameLength(font));
    for (const StyleWord& word : kStyleWords) {
        if (style.find(word.word) != std::string::npos)
            format.effects |= word.flag;
    }
    if (!readColour(color, format.colour))
        format.colour = 0;
    const int points = std::clamp(leadingInteger(size), -kMaxPoints, kMaxPoints);
    format.height = points * kTwipsPerPoint;
    return format;
}

} // namespace parchly
