// parchly-analysis-bench DIR [FILE...]: the analysis throughput over the
// RFC files of DIR, in one thread and in all, and the time each FILE takes.
#include "analysis_bench.h"

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: parchly-analysis-bench DIR [FILE...]\n");
        return 2;
    }
    const std::vector<std::filesystem::path> files = parchly::collectionFiles(argv[1]);
    if (files.empty()) {
        std::fprintf(stderr, "%s: no RFC files\n", argv[1]);
        return 1;
    }
    std::printf("analysis, one thread: %.0f MB/s\n", parchly::analysisMegabytesPerSecond(files, 1));
    std::printf("analysis, one thread, processor time: %.0f MB/s\n",
                parchly::analysisMegabytesPerSecond(files, 1, true));
    std::printf("analysis, all threads: %.0f MB/s\n", parchly::analysisMegabytesPerSecond(files, 0));
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path file(argv[i]);
        std::error_code error;
        const double megabytes = std::filesystem::file_size(file, error) / 1e6;
        const double rate = error ? 0 : parchly::analysisMegabytesPerSecond({file}, 1);
        std::printf("analysis of %s: %.2f ms\n", file.filename().string().c_str(),
                    rate > 0 ? megabytes / rate * 1e3 : 0.0);
    }
    return 0;
}
