#include "app/dark_formats.h"

#include "settings/formats.h"
#include "settings/settings.h"

#include <QPalette>

#include <optional>

namespace parchly {

namespace {

constexpr uint32_t rgb(uint32_t red, uint32_t green, uint32_t blue)
{
    return red | (green << 8) | (blue << 16);
}

// Light enough to read on a dark page and each unlike the others, as the
// light set's categories are told apart.
constexpr uint32_t kDarkColours[kFormatCategoryCount] = {
    rgb(220, 220, 220), // Default
    rgb(255, 200, 90), // RFC Title
    rgb(130, 170, 255), // Table of Contents
    rgb(100, 220, 230), // Subtitles
    rgb(130, 210, 130), // Headers and Footers
    rgb(255, 120, 120), // Obsoleted RFC
    rgb(210, 160, 255), // Requirement Keywords
    rgb(88, 76, 24), // Errata: a background, dark under light text
};

// Below this lightness (0-255) a background counts as dark.
constexpr int kDarkLightness = 128;

} // namespace

bool paletteIsDark(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Base).lightness() < kDarkLightness;
}

uint32_t darkDefaultColour(int category)
{
    const bool known = category >= 0 && category < kFormatCategoryCount;
    return kDarkColours[known ? category : kFormatDefault];
}

void followDarkPalette(RfcSettings& settings)
{
    for (int category = 0; category < kFormatCategoryCount; ++category) {
        std::optional<TextFormat> stored = settings.categoryFormat(category);
        if (!stored || stored->colour != defaultFormat(category).colour)
            continue;
        TextFormat format = *stored;
        format.colour = darkDefaultColour(category);
        settings.setCategoryFormat(category, format);
    }
}

} // namespace parchly
