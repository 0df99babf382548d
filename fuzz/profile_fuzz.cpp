// The settings file: a value written reads back, writes one by one give the
// same file as the same writes in one batch, and the lines no write
// touched keep their bytes.
//
// Input: the file's bytes, a NUL, then one write per line as
// "section|key|value".
#include "settings/profile.h"
#include "fuzz_check.h"
#include "scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace parchly;

struct Write {
    std::string section;
    std::string key;
    std::string value;
};

struct Line {
    std::string text;
    std::string ending;
    bool operator==(const Line& other) const { return text == other.text && ending == other.ending; }
};

// Lines as ended by LF, CR LF or a lone CR.
std::vector<Line> linesOf(const std::string& bytes)
{
    std::vector<Line> lines;
    std::string::size_type pos = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos < bytes.size()) {
        const std::string::size_type end = bytes.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back({bytes.substr(pos), ""});
            break;
        }
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        lines.push_back({bytes.substr(pos, end - pos), crlf ? "\r\n" : bytes.substr(end, 1)});
        pos = end + lines.back().ending.size();
    }
    return lines;
}

std::string trimmed(const std::string& text)
{
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

// A line some write may have changed: a key=value line of a written key.
bool mayBeWritten(const Line& line, const std::vector<Write>& writes)
{
    const auto equals = line.text.find('=');
    if (equals == std::string::npos)
        return false;
    const std::string key = trimmed(line.text.substr(0, equals));
    for (const Write& write : writes) {
        if (sameName(key, trimmed(write.key)))
            return true;
    }
    return false;
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16384)
        return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto separator = input.find('\0');
    const std::string original = input.substr(0, separator);
    std::vector<Write> writes;
    if (separator != std::string::npos) {
        for (const std::string& line : fuzz::split(input.substr(separator + 1), '\n')) {
            const std::vector<std::string> fields = fuzz::split(line, '|');
            if (fields.size() == 3 && writes.size() < 8)
                writes.push_back({fields[0], fields[1], fields[2]});
        }
    }

    const std::string onePath = (fuzz::scratchFolder() / "one.ini").string();
    const std::string batchPath = (fuzz::scratchFolder() / "batch.ini").string();
    writeAll(onePath, original);
    writeAll(batchPath, original);
    Profile one(onePath);
    Profile batched(batchPath);
    std::vector<Write> accepted;
    {
        ProfileBatch batch(batched);
        for (const Write& write : writes) {
            const bool wrote = one.writeString(write.section, write.key, write.value);
            PARCHLY_CHECK(batched.writeString(write.section, write.key, write.value) == wrote,
                          "a write is accepted alike one by one and in a batch");
            if (!wrote)
                continue;
            accepted.push_back(write);
            PARCHLY_CHECK(one.readString(trimmed(write.section), trimmed(write.key), "\n")
                              == trimmed(write.value),
                          "a written value reads back");
            PARCHLY_CHECK(batched.readString(trimmed(write.section), trimmed(write.key), "\n")
                              == trimmed(write.value),
                          "a value written in a batch reads back while the batch is open");
        }
        PARCHLY_CHECK(batch.commit(), "the batch is written");
    }
    const std::string oneBytes = readAll(onePath);
    PARCHLY_CHECK(oneBytes == readAll(batchPath), "writes one by one and in a batch give the same file");
    if (!accepted.empty()) {
        const Write& last = accepted.back();
        PARCHLY_CHECK(one.readString(trimmed(last.section), trimmed(last.key), "\n") == trimmed(last.value),
                      "the last value written reads back from the file");
    }

    // Every line no write may have changed is still there, in its order and
    // with its bytes; a last line without an end may have gained one.
    const std::vector<Line> before = linesOf(original);
    const std::vector<Line> after = linesOf(oneBytes);
    std::size_t next = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (mayBeWritten(before[i], accepted))
            continue;
        const bool lastWithoutEnd = i + 1 == before.size() && before[i].ending.empty();
        while (next < after.size() && !(after[next] == before[i])
               && !(lastWithoutEnd && after[next].text == before[i].text))
            ++next;
        PARCHLY_CHECK(next < after.size(), "an untouched line keeps its bytes and its place");
        ++next;
    }
    return 0;
}
