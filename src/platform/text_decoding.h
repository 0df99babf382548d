// RFC bytes as shown text. The analysis works on bytes; the text control on
// UTF-16 characters. A line is decoded as UTF-8 when it is valid UTF-8, and
// byte for byte (Latin-1) when it is not, so that every file shows. Lines
// end only at LF, as the analysis reads them: the characters the text
// control would break a line at (a CR that is not part of a line end, the
// Unicode line and paragraph separators) are shown as symbols instead.
#ifndef PARCHLY_PLATFORM_TEXT_DECODING_H
#define PARCHLY_PLATFORM_TEXT_DECODING_H

#include "analysis/utf8.h"

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parchly {

// What a CR inside a line is shown as; callers treat it as the CR it stands for.
constexpr char16_t kShownCarriageReturn = 0x240D;

struct DecodedText {
    QString text;
    // 0-based indexes, in increasing order, of the lines shown byte for byte.
    std::vector<int32_t> latin1Lines;
};

// Decodes text-mode bytes line by line (lines end at LF). A line longer
// than the analysis' line buffer is shown in the pieces that the analysis
// reads it in (see LineReader), each a line of its own: the analysis' line
// numbers stay those of the view, and the control never lays out one
// enormous line.
DecodedText decodeRfcText(std::string_view bytes);

// The bytes with an LF after every piece of an overlong line, as LineReader
// reads them; empty when no line is longer than the buffer.
std::string splitOverlongLines(std::string_view bytes);

// The character column, within a shown line, of the byte column `byteColumn`
// of the same line in the file; `latin1Line` tells how the line was decoded
// (the same characters can come from either). Columns past the end of the
// line give the line's length.
int byteColumnToCharColumn(const QString& line, int byteColumn, bool latin1Line);

} // namespace parchly

#endif
