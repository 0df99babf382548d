// The folder of real RFCs and the real rfc-index.txt: PARCHLY_CORPUS, or
// ../shared/corpus seen from the source tree. Tests that need it skip when
// it is absent.
#ifndef PARCHLY_TESTS_CORPUS_H
#define PARCHLY_TESTS_CORPUS_H

#include <cstdlib>
#include <filesystem>
#include <string>

namespace parchly::test {

inline std::filesystem::path corpusFolder()
{
    if (const char* env = std::getenv("PARCHLY_CORPUS"); env && *env)
        return env;
    return std::filesystem::path(PARCHLY_SOURCE_DIR) / ".." / "shared" / "corpus";
}

// The path of a corpus file, or an empty path when it is not there.
inline std::filesystem::path corpusFile(const std::string& name)
{
    std::filesystem::path path = corpusFolder() / name;
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? path : std::filesystem::path();
}

} // namespace parchly::test

// Skips the current test when the corpus file is missing.
#define PARCHLY_REQUIRE_CORPUS_FILE(var, name)                                                               \
    const std::filesystem::path var = ::parchly::test::corpusFile(name);                                     \
    if (var.empty())                                                                                         \
    GTEST_SKIP() << "corpus file " << (name) << " not found"

#endif
