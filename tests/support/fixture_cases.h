// Fixture files under tests/fixtures: read whole, or as a list of cases
// where a table of texts reads better as the texts themselves.
#ifndef PARCHLY_TESTS_SUPPORT_FIXTURE_CASES_H
#define PARCHLY_TESTS_SUPPORT_FIXTURE_CASES_H

#include "support/temp_folder.h"

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
    // The text of each part, every line with its line end.
    std::map<std::string, std::string> parts;
    const std::string& operator[](const std::string& part) const { return parts.at(part); }
};

// The cases of a fixture file: a line "=== title" opens a case and a line
// "--- name" a part of it, whose text runs to the next such line. Lines
// that begin with "#" are the file's comments, read nowhere.
inline std::vector<FixtureCase> readFixtureCases(const std::string& name)
{
    std::vector<FixtureCase> cases;
    std::string* part = nullptr;
    std::istringstream lines(readFixture(name));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind('#', 0) == 0)
            continue;
        if (line.rfind("=== ", 0) == 0) {
            cases.push_back({line.substr(4), {}});
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
