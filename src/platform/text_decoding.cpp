#include "platform/text_decoding.h"

#include "analysis/line_reader.h"

#include <algorithm>

namespace parchly {

namespace {

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int utf8Length(char32_t code)
{
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

// Keeps every line of the text one line of the control.
void replaceLineBreakers(QString& text)
{
    text.replace(QLatin1Char('\r'), QChar(kShownCarriageReturn));
    text.replace(QChar(QChar::LineSeparator), QChar(QChar::ReplacementCharacter));
    text.replace(QChar(QChar::ParagraphSeparator), QChar(QChar::ReplacementCharacter));
}

DecodedText decodeLines(std::string_view bytes)
{
    DecodedText decoded;
    if (isAscii(bytes)) {
        decoded.text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
        return decoded;
    }
    if (isValidUtf8(bytes)) {
        decoded.text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        return decoded;
    }
    decoded.text.reserve(static_cast<qsizetype>(bytes.size()));
    size_t start = 0;
    for (int32_t index = 0; start < bytes.size(); ++index) {
        size_t end = bytes.find('\n', start);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        const std::string_view line = bytes.substr(start, end - start);
        if (isValidUtf8(line)) {
            decoded.text += QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        } else {
            decoded.text += QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
            decoded.latin1Lines.push_back(index);
        }
        start = end;
    }
    return decoded;
}

} // namespace

std::string splitOverlongLines(std::string_view bytes)
{
    constexpr std::size_t limit = kLineBufferSize - 1;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = bytes.find('\n', start);
        if ((end == std::string_view::npos ? bytes.size() : end + 1) - start > limit)
            break;
        if (end == std::string_view::npos)
            return std::string();
        start = end + 1;
    }
    std::string pieces;
    pieces.reserve(bytes.size() + bytes.size() / limit + 1);
    for (std::size_t position = 0; position < bytes.size();) {
        const std::size_t lineEnd = bytes.find('\n', position);
        const std::size_t stop = lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1;
        const std::size_t end = std::min(stop, position + limit);
        pieces.append(bytes.substr(position, end - position));
        // A piece cut off by the buffer ends a line of its own, even where
        // only the line end follows it (which then reads as an empty line).
        if (end < bytes.size() && pieces.back() != '\n')
            pieces.push_back('\n');
        position = end;
    }
    return pieces;
}

DecodedText decodeRfcText(std::string_view bytes)
{
    const std::string pieces = splitOverlongLines(bytes);
    DecodedText decoded = decodeLines(pieces.empty() ? bytes : std::string_view(pieces));
    replaceLineBreakers(decoded.text);
    return decoded;
}

int byteColumnToCharColumn(const QString& line, int byteColumn, bool latin1Line)
{
    if (byteColumn <= 0)
        return 0;
    if (latin1Line)
        return std::min(byteColumn, static_cast<int>(line.size()));
    int bytes = 0;
    int index = 0;
    while (index < line.size() && bytes < byteColumn) {
        const QChar c = line[index];
        if (c.isHighSurrogate() && index + 1 < line.size() && line[index + 1].isLowSurrogate()) {
            bytes += 4;
            index += 2;
        } else {
            // The CR symbol stands for the one byte of a CR.
            bytes += c == QChar(kShownCarriageReturn) ? 1 : utf8Length(c.unicode());
            ++index;
        }
    }
    return index;
}

} // namespace parchly
