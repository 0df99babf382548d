#include "dumps.h"

#include <cerrno>
#include <cstring>
#include <exception>

namespace parchly {

namespace {

// Length of the valid UTF-8 sequence starting at `i`, or 0 when there is none.
std::size_t utf8SequenceLength(const std::string& s, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead < 0x80 ? 1
        : (lead >> 5) == 0x6               ? 2
        : (lead >> 4) == 0xE               ? 3
        : (lead >> 3) == 0x1E              ? 4
                                           : 0;
    if (length == 0 || (length == 2 && lead < 0xC2) || i + length > s.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    }
    // Overlong forms, surrogates and code points above U+10FFFF.
    if (length == 3 && ((lead == 0xE0 && byte(i + 1) < 0xA0) || (lead == 0xED && byte(i + 1) > 0x9F)))
        return 0;
    if (length == 4
        && (lead > 0xF4 || (lead == 0xF0 && byte(i + 1) < 0x90) || (lead == 0xF4 && byte(i + 1) > 0x8F)))
        return 0;
    return length;
}

} // namespace

std::string jsonText(const std::string& bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = utf8SequenceLength(bytes, i);
        if (length == 0)
            break;
        i += length;
    }
    if (i == bytes.size())
        return bytes; // the usual case: nothing to change
    std::string text(bytes, 0, i);
    while (i < bytes.size()) {
        if (const std::size_t length = utf8SequenceLength(bytes, i)) {
            text.append(bytes, i, length);
            i += length;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(bytes[i++]);
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

Json dumpHead(const std::string& path, bool ok)
{
    Json record = Json::object();
    record["file"] = jsonText(path);
    record["ok"] = ok;
    return record;
}

std::optional<LineReader> openFile(const std::string& path, std::ostream& out)
{
    std::string error;
    errno = 0;
    try {
        if (std::optional<LineReader> file = LineReader::open(path))
            return file;
        error = errno != 0 ? std::strerror(errno) : "unknown error";
    } catch (const std::exception& failure) {
        // The C++ library throws when a read fails midway, as for a folder.
        error = errno != 0 ? std::strerror(errno) : failure.what();
    }
    Json record = dumpHead(path, false);
    record["error"] = "cannot read the file: " + error;
    writeLine(record, out);
    return std::nullopt;
}

void writeLine(const Json& record, std::ostream& out)
{
    out << record.dump() << '\n';
}

} // namespace parchly
