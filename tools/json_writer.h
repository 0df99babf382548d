// A small streaming JSON writer for the command-line dumps: one object per
// line, strings escaped, bytes that are not valid UTF-8 written as the
// Latin-1 characters they would be.
#ifndef PARCHLY_TOOLS_JSON_WRITER_H
#define PARCHLY_TOOLS_JSON_WRITER_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace parchly {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // Names the next value inside an object.
    JsonWriter& key(const std::string& name);

    void value(const std::string& text);
    void value(const char* text) { value(std::string(text)); }
    void value(int64_t number);
    void value(int32_t number) { value(static_cast<int64_t>(number)); }
    void value(bool flag);

    template <typename T>
    void field(const std::string& name, const T& v) { key(name).value(v); }

    void intArray(const std::string& name, const std::vector<int32_t>& numbers);

    // Ends the current top-level line.
    void endLine();

private:
    void separate();

    std::ostream& m_out;
    // One flag per open container: whether it already holds an element.
    std::vector<bool> m_hasElement;
    bool m_afterKey = false;
};

std::string jsonEscape(const std::string& bytes);

// Opens the one object of a dump with the file it read and the result.
void beginDump(JsonWriter& json, const std::string& path, bool ok);

} // namespace parchly

#endif
