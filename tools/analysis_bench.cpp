#include "analysis_bench.h"
#include "collection/worker_threads.h"

#include "analysis/analyse.h"
#include "analysis/file_access.h"
#include "analysis/line_reader.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <time.h>

namespace parchly {

namespace {

using Clock = std::chrono::steady_clock;

// A file's bytes, read before any timing: the figure is the analysis's,
// not the disk's or the page cache's.
using LoadedFile = std::vector<char>;

// Analyses one text held in memory as a document does once it has read
// its file; its size in bytes.
std::uintmax_t analyseLoaded(const LoadedFile& file)
{
    LineReader reader = LineReader::borrowing(std::string_view(file.data(), file.size()));
    RfcText text;
    analyseText(text, &reader, LimitsBlock(), AnalysisOptions());
    return file.size();
}

// One round: the whole list `passes` times, the work shared by `threads`
// threads through one counter; megabytes per second of the clock, or of
// processor time when `byProcessorTime`.
double oneRound(const std::vector<LoadedFile>& files, int threads, int passes, bool byProcessorTime = false)
{
    const std::size_t jobs = files.size() * static_cast<std::size_t>(passes);
    std::atomic<std::size_t> next{0};
    std::atomic<std::uintmax_t> bytes{0};
    auto work = [&] {
        std::uintmax_t done = 0;
        for (std::size_t job = next++; job < jobs; job = next++)
            done += analyseLoaded(files[job % files.size()]);
        bytes += done;
    };
    const Clock::time_point start = Clock::now();
    const double startProcessor = processorSeconds();
    runOnThreads(threads, work);
    const double seconds = byProcessorTime ? processorSeconds() - startProcessor
                                           : std::chrono::duration<double>(Clock::now() - start).count();
    return seconds > 0 ? bytes / 1e6 / seconds : 0;
}

} // namespace

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double analysisMegabytesPerSecond(const std::vector<std::filesystem::path>& paths, int threads,
                                  bool byProcessorTime)
{
    std::vector<LoadedFile> files;
    for (const std::filesystem::path& path : paths) {
        LoadedFile bytes;
        std::size_t size = 0;
        if (readRegularFile(path.string(), kTextFileSizeLimit, bytes, size) != FileRefusal::None)
            continue;
        bytes.resize(size);
        files.push_back(std::move(bytes));
    }
    if (files.empty())
        return 0;
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // Enough passes for a round of a few tenths of a second at any speed
    // the analysis has had: the first round, a warm-up, sizes the others.
    const Clock::time_point start = Clock::now();
    oneRound(files, threads, 1);
    const double once = std::chrono::duration<double>(Clock::now() - start).count();
    const int passes = std::clamp(static_cast<int>(0.3 / std::max(once, 1e-6)), 1, 1000);
    double best = 0;
    for (int round = 0; round < 5; ++round)
        best = std::max(best, oneRound(files, threads, passes, byProcessorTime));
    return best;
}

std::vector<std::filesystem::path> collectionFiles(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = item.path().filename().string();
        const bool rfcName = name.size() > 7 && name.compare(0, 3, "rfc") == 0
            && name.compare(name.size() - 4, 4, ".txt") == 0
            && std::all_of(name.begin() + 3, name.end() - 4, [](char c) { return c >= '0' && c <= '9'; });
        if (rfcName && item.is_regular_file(error))
            files.push_back(item.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace parchly
