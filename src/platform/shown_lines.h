// Questions about the shown lines of a text view that the composition asks
// again and again: blank lines, first non-blank characters, line ends.
#ifndef PARCHLY_PLATFORM_SHOWN_LINES_H
#define PARCHLY_PLATFORM_SHOWN_LINES_H

#include <QString>
#include <cstdint>
#include <vector>

namespace parchly {

class TextView;
struct RfcText;

// A blank line is empty after leading spaces and tabs, or its first other
// character is CR or LF.
bool isBlankLine(const TextView& view, int line);

// The position of the first character of `line` that is not a space or tab.
int firstNonBlankPosition(const TextView& view, int line);

// The start of the line after `line`, or the end of the text for the last.
int lineEndPosition(const TextView& view, int line);

// The start of the first blank line after `line`, or the end of the text.
int nextBlankLineStart(const TextView& view, int line);

// What a 1,024-byte line buffer holds of the line: at most 1,023 characters.
QString examinedText(const TextView& view, int line);

// The position after the spaces and tabs from `position` on.
int skipBlanks(const QString& text, int position);

// Whether `position` is at the end of the text or at its CR (as shown) or LF.
bool atLineEnd(const QString& text, int position);

// The shown page boundary lines for the text's current hide state.
const std::vector<int32_t>& boundaryTable(const RfcText& text);

} // namespace parchly

#endif
