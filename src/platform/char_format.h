// A display format as the text control's character format.
#ifndef PARCHLY_PLATFORM_CHAR_FORMAT_H
#define PARCHLY_PLATFORM_CHAR_FORMAT_H

#include "settings/formats.h"

#include <QTextCharFormat>

namespace parchly {

// Sets only the attributes that the format's mask names, so that merging the
// result into text leaves every other attribute as it was. A face that the
// system does not have (the built-in "Fixedsys") becomes the system's
// fixed-pitch font.
QTextCharFormat toCharFormat(const TextFormat& format);

} // namespace parchly

#endif
