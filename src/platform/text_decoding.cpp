#include "platform/text_decoding.h"

#include <algorithm>

namespace parchly {

namespace {

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
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

DecodedText decodeRfcText(std::string_view bytes)
{
    DecodedText decoded = decodeLines(bytes);
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
