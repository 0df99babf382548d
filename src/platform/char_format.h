// A display format as the text control's character format.
#ifndef PARCHLY_PLATFORM_CHAR_FORMAT_H
#define PARCHLY_PLATFORM_CHAR_FORMAT_H

#include "settings/formats.h"

#include <QTextCharFormat>
#include <utility>
#include <vector>

namespace parchly {

// Sets only the attributes that the format's mask names, so that merging the
// result into text leaves every other attribute as it was. A face that the
// system does not have (the built-in "Fixedsys") becomes the system's
// fixed-pitch font.
QTextCharFormat toCharFormat(const TextFormat& format);

// Each display format converted once and then reused: a conversion asks the
// font database whether the face exists (fontconfig, about 0.15 ms a call),
// which made formatting a document, or decorating an index entry of many
// numbers, spend seconds on the same few formats.
class CharFormatCache {
public:
    // By value: a copy shares its data, and a later conversion may move the stored ones.
    QTextCharFormat charFormat(const TextFormat& format);

private:
    // A view uses a handful of formats (categories, with and without
    // underline); past this many the settings changed often: start afresh.
    static constexpr std::size_t kLimit = 64;
    std::vector<std::pair<TextFormat, QTextCharFormat>> m_formats;
};

} // namespace parchly

#endif
