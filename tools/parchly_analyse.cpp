// parchly-analyse: prints the analysis of RFC files, of the RFC index or of
// one index entry as JSON Lines, for checking the analysis from outside.
#include "dumps.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

int usage()
{
    std::cerr << "usage: parchly-analyse FILE...\n"
                 "       parchly-analyse --index FILE\n"
                 "       parchly-analyse --index-entry N FILE\n"
                 "       parchly-analyse --requirements-csv FILE\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    if (std::strcmp(argv[1], "--index") == 0) {
        if (argc != 3)
            return usage();
        parchly::dumpIndex(argv[2], std::cout);
        return 0;
    }
    if (std::strcmp(argv[1], "--requirements-csv") == 0) {
        if (argc != 3)
            return usage();
        parchly::dumpRequirementsCsv(argv[2], std::cout);
        return 0;
    }
    if (std::strcmp(argv[1], "--index-entry") == 0) {
        if (argc != 4)
            return usage();
        char* end = nullptr;
        const long number = std::strtol(argv[2], &end, 10);
        if (end == argv[2] || *end != '\0' || number <= 0)
            return usage();
        return parchly::dumpIndexEntry(argv[3], static_cast<int>(number), std::cout) ? 0 : 1;
    }
    for (int i = 1; i < argc; ++i)
        parchly::dumpRfc(argv[i], std::cout);
    return 0;
}
