// The five display formats of the reading view and the text forms in which
// a format is stored in the settings file and shown in the Options dialog.
#ifndef PARCHLY_SETTINGS_FORMATS_H
#define PARCHLY_SETTINGS_FORMATS_H

#include <cstdint>
#include <string>

namespace parchly {

// Which attributes a format sets.
constexpr uint32_t kMaskBold = 0x1;
constexpr uint32_t kMaskItalic = 0x2;
constexpr uint32_t kMaskUnderline = 0x4;
constexpr uint32_t kMaskStrikeout = 0x8;
constexpr uint32_t kMaskFace = 0x20000000;
constexpr uint32_t kMaskColour = 0x40000000;
constexpr uint32_t kMaskSize = 0x80000000;

// The style flags that are on.
constexpr uint32_t kEffectBold = 0x1;
constexpr uint32_t kEffectItalic = 0x2;
constexpr uint32_t kEffectUnderline = 0x4;
constexpr uint32_t kEffectStrikeout = 0x8;

// The mask of every format built from text: face, colour, size and all four
// style flags.
constexpr uint32_t kMaskAll =
    kMaskFace | kMaskColour | kMaskSize | kMaskBold | kMaskItalic | kMaskUnderline | kMaskStrikeout;

constexpr int kFaceNameSize = 32;

// The character format applied to a run of text, laid out like the rich-text
// control's character format record.
struct TextFormat {
    uint32_t size; // always 60
    uint32_t mask; // kMask... bits
    uint32_t effects; // kEffect... bits
    int32_t height; // twentieths of a point
    int32_t offset; // always 0
    uint32_t colour; // red in bits 0-7, green 8-15, blue 16-23
    uint8_t charSet;
    uint8_t pitchAndFamily;
    char faceName[kFaceNameSize]; // zero-terminated, at most 31 bytes
};
static_assert(sizeof(TextFormat) == 60, "TextFormat must keep the control's record layout");

enum FormatCategory {
    kFormatDefault = 0,
    kFormatTitle = 1,
    kFormatContents = 2,
    kFormatSubtitles = 3,
    kFormatHeadersFooters = 4,
    // The index bar of an RFC the index says is obsoleted.
    kFormatObsoleted = 5,
    // MUST, SHOULD, MAY... in the text; equal to "Default" they look plain.
    kFormatRequirementKeywords = 6,
    // The lines an erratum applies to: its colour tints their background
    // (a stronger tint for a Technical erratum); the text keeps its own.
    kFormatErrata = 7,
    kFormatCategoryCount = 8
};

// "Default", "RFC Title", "Table of Contents", "Subtitles", "Headers and
// Footers", "Obsoleted RFC", "Requirement Keywords", "Errata"; the empty text
// outside them.
const char* categoryName(int category);

// The built-in format of a category (that of "Default" outside them).
TextFormat defaultFormat(int category);

// The four text forms of a format, as stored under the keys "font",
// "style", "color" and "size".
struct FormatTexts {
    std::string font;
    std::string style;
    std::string color;
    std::string size;
};

FormatTexts formatToText(const TextFormat& format);

// Builds a format from its text forms; never fails. A face name longer than
// 31 bytes is cut to fit (at a character boundary of UTF-8 text).
TextFormat textToFormat(const std::string& font, const std::string& style, const std::string& color,
                        const std::string& size);

} // namespace parchly

#endif
