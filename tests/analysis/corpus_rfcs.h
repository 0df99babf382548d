// The RFCs of the corpus and the fixtures as bytes, for the tests of the
// links and the requirements.
#ifndef PARCHLY_TESTS_ANALYSIS_CORPUS_RFCS_H
#define PARCHLY_TESTS_ANALYSIS_CORPUS_RFCS_H

#include "support/corpus.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace parchly::test {

struct CorpusRfc {
    std::string name;
    int32_t number = 0;
    std::string bytes;
};

inline std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string fixtureBytes(const std::string& name)
{
    return fileBytes(std::filesystem::path(PARCHLY_FIXTURES_DIR) / name);
}

// Every rfcN.txt of the corpus; empty when the corpus is absent.
inline std::vector<CorpusRfc> corpusRfcs()
{
    std::vector<CorpusRfc> rfcs;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(corpusFolder(), error)) {
        const std::string file = entry.path().filename().string();
        if (file.size() < 8 || file.compare(0, 3, "rfc") != 0 || file.compare(file.size() - 4, 4, ".txt") != 0
            || file.find_first_not_of("0123456789", 3) != file.size() - 4)
            continue;
        rfcs.push_back({file, std::stoi(file.substr(3)), fileBytes(entry.path())});
    }
    return rfcs;
}

} // namespace parchly::test

#endif
