// Fixture files under tests/fixtures: read whole, or as a list of cases
// where a table of texts reads better as the texts themselves.
#ifndef PARCHLY_TESTS_SUPPORT_FIXTURE_CASES_H
#define PARCHLY_TESTS_SUPPORT_FIXTURE_CASES_H

#include "support/temp_folder.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace parchly::test {

inline std::string fixturePath(const std::string& name)
{
    return std::string(PARCHLY_FIXTURES_DIR "/") + name;
}

// The bytes of a fixture file; throws when it is missing or empty, so that
// a test never passes over no data.
inline std::string readFixture(const std::string& name)
{
    std::string bytes = readFile(fixturePath(name));
    if (bytes.empty())
        throw std::runtime_error("fixture file missing or empty: " + name);
    return bytes;
}

struct FixtureCase {
    std::string title;
    // The text of each part: a block part's every line with its line end,
    // an inline part's value as written.
    std::map<std::string, std::string> parts;
    const std::string& operator[](const std::string& part) const { return parts.at(part); }
    long long number(const std::string& part) const { return std::stoll(parts.at(part)); }
    // An inline part's items, written with " | " between them; none when empty.
    std::vector<std::string> items(const std::string& part) const
    {
        std::vector<std::string> items;
        const std::string& text = parts.at(part);
        for (std::size_t at = 0, end = 0; !text.empty() && end != std::string::npos; at = end + 3) {
            end = text.find(" | ", at);
            items.push_back(text.substr(at, end == std::string::npos ? end : end - at));
        }
        return items;
    }
};

// A case's title as the name of its row in a parameterised test: its words
// run together, each begun with a capital, all but letters and digits left
// out ("a 404 page" is "A404Page").
inline std::string caseName(const ::testing::TestParamInfo<FixtureCase>& info)
{
    std::string name;
    bool wordStart = true;
    for (const char c : info.param.title) {
        const bool alphanumeric = std::isalnum(static_cast<unsigned char>(c)) != 0;
        if (alphanumeric)
            name += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        wordStart = !alphanumeric;
    }
    return name;
}

// A case as GoogleTest prints a failing row's parameter: by its title.
inline void PrintTo(const FixtureCase& c, std::ostream* out)
{
    *out << c.title;
}

// An inline value with its escapes read: \n \r \t \f \\ and \xHH.
inline std::string unescaped(const std::string& written)
{
    static const std::map<char, char> kEscapes = {
        {'n', '\n'}, {'r', '\r'}, {'t', '\t'}, {'f', '\f'}, {'\\', '\\'}};
    std::string value;
    for (std::size_t at = 0; at < written.size(); ++at) {
        if (written[at] != '\\' || at + 1 == written.size()) {
            value += written[at];
        } else if (written[++at] == 'x') {
            value += static_cast<char>(std::stoi(written.substr(at + 1, 2), nullptr, 16));
            at += 2;
        } else {
            value += kEscapes.at(written[at]);
        }
    }
    return value;
}

// The cases of a fixture file: a line "=== title" opens a case and a line
// "--- name" a part of it, whose text runs to the next such line; a line
// "--- name: value" is a part of one value on its line, escapes read (a
// space at its end written \x20).
// Lines that begin with "#" are the file's comments, read nowhere.
inline std::vector<FixtureCase> readFixtureCases(const std::string& name)
{
    std::vector<FixtureCase> cases;
    std::string* part = nullptr;
    std::istringstream lines(readFixture(name));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind('#', 0) == 0)
            continue;
        const std::size_t colon = line.find(':');
        if (line.rfind("=== ", 0) == 0) {
            cases.push_back({line.substr(4), {}});
            part = nullptr;
        } else if (line.rfind("--- ", 0) == 0 && !cases.empty() && colon != std::string::npos) {
            cases.back().parts[line.substr(4, colon - 4)] =
                unescaped(line.substr(std::min(colon + 2, line.size())));
            part = nullptr;
        } else if (line.rfind("--- ", 0) == 0 && !cases.empty()) {
            part = &cases.back().parts[line.substr(4)];
        } else if (part) {
            *part += line + '\n';
        }
    }
    if (cases.empty())
        throw std::runtime_error("no cases in fixture file " + name);
    return cases;
}

} // namespace parchly::test

#endif
