// Questions about shown lines that the composition and the links ask again
// and again: leading blanks, line ends, what a line buffer holds.
#ifndef PARCHLY_PLATFORM_SHOWN_LINES_H
#define PARCHLY_PLATFORM_SHOWN_LINES_H

#include <QString>

namespace parchly {

class TextView;

// What a 1,024-byte line buffer holds of the line: at most 1,023 characters.
QString examinedText(const TextView& view, int line);

// The position after the spaces and tabs from `position` on.
int skipBlanks(const QString& text, int position);

// Whether `position` is at the end of the text or at its CR (as shown) or LF.
bool atLineEnd(const QString& text, int position);

} // namespace parchly

#endif
