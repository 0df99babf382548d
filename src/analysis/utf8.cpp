#include "analysis/utf8.h"

namespace parchly {

std::size_t utf8SequenceLength(std::string_view bytes, std::size_t i)
{
    if (i >= bytes.size())
        return 0;
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80)
        return 1;
    std::size_t length;
    char32_t code;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() - i < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if (!isUtf8Continuation(bytes[i + k]))
            return 0;
        code = (code << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
    }
    const std::size_t shortest = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    if (shortest != length || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

bool isValidUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8SequenceLength(bytes, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::size_t utf8CutLength(std::string_view bytes, std::size_t limit)
{
    std::size_t length = limit < bytes.size() ? limit : bytes.size();
    if (length < bytes.size()) {
        while (length > 0 && isUtf8Continuation(bytes[length]))
            --length;
    }
    return length;
}

} // namespace parchly
