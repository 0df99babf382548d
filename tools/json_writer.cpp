#include "json_writer.h"

#include <cstdio>

namespace parchly {

namespace {

// Length of the valid UTF-8 sequence starting at `i`, or 0 when there is none.
std::size_t utf8SequenceLength(const std::string& s, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || (length == 2 && lead < 0xC2) || i + length > s.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    }
    if (length == 3 && lead == 0xE0 && byte(i + 1) < 0xA0)
        return 0;
    if (length == 4 && (lead > 0xF4 || (lead == 0xF0 && byte(i + 1) < 0x90) || (lead == 0xF4 && byte(i + 1) > 0x8F)))
        return 0;
    return length;
}

} // namespace

std::string jsonEscape(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() + 2);
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        char buffer[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else if (c >= 0x80) {
            if (std::size_t length = utf8SequenceLength(bytes, i)) {
                out.append(bytes, i, length);
                i += length;
                continue;
            }
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out;
}

void JsonWriter::separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_hasElement.empty()) {
        if (m_hasElement.back())
            m_out << ',';
        m_hasElement.back() = true;
    }
}

void JsonWriter::beginObject()
{
    separate();
    m_out << '{';
    m_hasElement.push_back(false);
}

void JsonWriter::endObject()
{
    m_out << '}';
    m_hasElement.pop_back();
}

void JsonWriter::beginArray()
{
    separate();
    m_out << '[';
    m_hasElement.push_back(false);
}

void JsonWriter::endArray()
{
    m_out << ']';
    m_hasElement.pop_back();
}

JsonWriter& JsonWriter::key(const std::string& name)
{
    separate();
    m_out << '"' << jsonEscape(name) << "\":";
    m_afterKey = true;
    return *this;
}

void JsonWriter::value(const std::string& text)
{
    separate();
    m_out << '"' << jsonEscape(text) << '"';
}

void JsonWriter::value(int64_t number)
{
    separate();
    m_out << number;
}

void JsonWriter::value(bool flag)
{
    separate();
    m_out << (flag ? "true" : "false");
}

void JsonWriter::intArray(const std::string& name, const std::vector<int32_t>& numbers)
{
    key(name).beginArray();
    for (int32_t n : numbers)
        value(n);
    endArray();
}

void JsonWriter::endLine()
{
    m_out << '\n';
}

void beginDump(JsonWriter& json, const std::string& path, bool ok)
{
    json.beginObject();
    json.field("file", path);
    json.field("ok", ok);
}

} // namespace parchly
