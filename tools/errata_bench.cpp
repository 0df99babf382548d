// parchly-errata-bench ERRATA.json RFC.txt: the time to read the errata
// database as given and as a file of 8,000 records (the size of the whole
// database, made by repeating the given records), and to place all errata
// of one RFC in its analysed text. Prints the median of five runs of each.
#include "analysis/analyse.h"
#include "analysis/errata_placement.h"
#include "errata/errata_catalogue.h"
#include "errata/errata_file.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr std::size_t kWholeDatabase = 8000;

double medianMilliseconds(const std::function<void()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Writes a file of `count` records made by repeating those of `source`,
// each copy with an id of its own.
bool writeRepeated(const std::string& source, const std::string& target, std::size_t count)
{
    std::ifstream in(source, std::ios::binary);
    const nlohmann::json records = nlohmann::json::parse(in, nullptr, false);
    if (!records.is_array() || records.empty())
        return false;
    nlohmann::json repeated = nlohmann::json::array();
    for (std::size_t i = 0; i < count; ++i) {
        nlohmann::json record = records[i % records.size()];
        record["errata_id"] = std::to_string(100000 + i);
        repeated.push_back(std::move(record));
    }
    std::ofstream(target, std::ios::binary) << repeated.dump(1);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: parchly-errata-bench ERRATA.json RFC.txt\n";
        return 2;
    }
    const std::string errataPath = argv[1];
    const std::string rfcPath = argv[2];

    parchly::ErrataLoad load = parchly::readErrataFile(errataPath);
    if (!load.complete()) {
        std::cerr << "parchly-errata-bench: " << load.error << "\n";
        return 1;
    }
    const std::size_t records = load.errata.size();
    const double given = medianMilliseconds([&] { load = parchly::readErrataFile(errataPath); });
    std::printf("read %s (%zu errata): %.1f ms\n", errataPath.c_str(), records, given);

    const std::string repeatedPath =
        (std::filesystem::temp_directory_path() / "parchly-errata-bench.json").string();
    if (writeRepeated(errataPath, repeatedPath, kWholeDatabase)) {
        const std::uintmax_t bytes = std::filesystem::file_size(repeatedPath);
        parchly::ErrataLoad whole;
        const double repeated = medianMilliseconds([&] { whole = parchly::readErrataFile(repeatedPath); });
        std::printf("read %zu errata (%.1f MB): %.1f ms\n", whole.errata.size(), bytes / 1048576.0, repeated);
        std::filesystem::remove(repeatedPath);
    }

    std::optional<parchly::LineReader> reader = parchly::LineReader::open(rfcPath);
    if (!reader) {
        std::cerr << "parchly-errata-bench: cannot read " << rfcPath << "\n";
        return 1;
    }
    parchly::RfcText text;
    const double analysis = medianMilliseconds(
        [&] { parchly::analyseText(text, &*reader, parchly::LimitsBlock(), parchly::AnalysisOptions()); });
    const parchly::ErrataCatalogue catalogue(std::move(load.errata));
    const std::vector<parchly::Erratum> errata = catalogue.errataOf(text.rfcNumber);
    std::vector<parchly::ErratumPlacement> placements;
    const double placing =
        medianMilliseconds([&] { placements = parchly::placeErrata(text, *reader, errata); });
    std::printf("analyse %s: %.1f ms; place its %zu errata: %.2f ms\n", rfcPath.c_str(), analysis,
                errata.size(), placing);
    return 0;
}
