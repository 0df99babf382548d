// parchly-index-bench: times reading the RFC index and parsing its entries.
//   parchly-index-bench [--runs N] FILE
// Prints the fastest and the median of N runs (default 20) for reading the
// file (from disk, and from bytes already in memory), and the mean and the
// slowest cost of parsing one of its entries.
#include "index/index_entry.h"
#include "index/index_reader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <typename Action> void report(const char* what, int runs, Action action)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        action();
        times.push_back(millisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    std::printf("%-32s fastest %8.3f ms   median %8.3f ms\n", what, times.front(), times[times.size() / 2]);
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 20;
    int argument = 1;
    if (argc == 4 && std::strcmp(argv[1], "--runs") == 0) {
        runs = std::max(1, std::atoi(argv[2]));
        argument = 3;
    }
    if (argument != argc - 1) {
        std::fprintf(stderr, "usage: parchly-index-bench [--runs N] FILE\n");
        return 2;
    }
    const std::string path = argv[argument];
    std::optional<parchly::LineReader> file = parchly::LineReader::open(path);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }

    parchly::RfcText index;
    parchly::readIndex(index, *file);
    std::printf("%s: %d lines, %zu entries\n", path.c_str(), index.lineCount, index.indexEntries.size());

    report("readIndex, opening the file", runs, [&] {
        std::optional<parchly::LineReader> reader = parchly::LineReader::open(path);
        parchly::RfcText fresh;
        parchly::readIndex(fresh, *reader);
    });
    report("readIndex, file already open", runs, [&] {
        file->rewind();
        parchly::RfcText fresh;
        parchly::readIndex(fresh, *file);
    });

    file->rewind();
    const std::vector<std::string> lines = parchly::readIndexLines(*file);
    std::vector<std::string> texts;
    for (const parchly::RfcIndexEntry& entry : index.indexEntries)
        texts.push_back(parchly::indexEntryText(lines, entry));
    if (texts.empty())
        return 0;

    // Each entry's cost is its fastest run, which leaves out the moments the
    // machine was busy elsewhere; the slowest entry is reported by that cost.
    std::vector<double> entryCost(texts.size(), 1e9);
    const Clock::time_point allStart = Clock::now();
    for (int run = 0; run < runs; ++run) {
        for (std::size_t k = 0; k < texts.size(); ++k) {
            const Clock::time_point start = Clock::now();
            parchly::IndexEntryFields fields;
            parchly::parseIndexEntry(texts[k], parchly::LimitsBlock(), fields);
            entryCost[k] = std::min(entryCost[k], millisecondsSince(start));
        }
    }
    const double mean = millisecondsSince(allStart) / (static_cast<double>(runs) * texts.size());
    const auto slowest = std::max_element(entryCost.begin(), entryCost.end());
    std::printf("%-32s mean %8.5f ms   slowest entry %8.5f ms (RFC %d)\n", "parseIndexEntry, one entry", mean,
                *slowest, index.indexEntries[slowest - entryCost.begin()].number);
    return 0;
}
