// Dark desktops: the built-in format colours are meant for dark text on a
// light page. When the desktop's text background is dark, the formats that
// still have their built-in colour take one of a dark set instead; a colour
// the user chose is kept.
#ifndef PARCHLY_APP_DARK_FORMATS_H
#define PARCHLY_APP_DARK_FORMATS_H

#include <cstdint>

class QPalette;

namespace parchly {

struct RfcSettings;

// Whether text is shown on a dark background under `palette`.
bool paletteIsDark(const QPalette& palette);

// The colour of `category` in the dark set (red in bits 0-7, as stored).
uint32_t darkDefaultColour(int category);

// Gives every format still in its built-in colour the dark set's colour.
void followDarkPalette(RfcSettings& settings);

} // namespace parchly

#endif
