// parchly-analyse: prints the analysis of RFC files, of the RFC index or of
// one index entry as JSON Lines, for checking the analysis from outside.
#include "dumps.h"

#include "errata/errata_file.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

const char kHelp[] = "usage: parchly-analyse [OPTION]... FILE...\n"
                     "       parchly-analyse --index FILE\n"
                     "       parchly-analyse --index-entry N FILE\n"
                     "       parchly-analyse --requirements-csv FILE\n"
                     "\n"
                     "Analyses each RFC text FILE and prints its record as one JSON object a\n"
                     "line (JSON Lines), in the order of the files.\n"
                     "\n"
                     "  --no-build-structure  when an RFC has no table of contents, leave the\n"
                     "                        contents empty instead of building them from the\n"
                     "                        headings found in the text\n"
                     "  --keep-blank-lines    leave the blank lines next to page headers and\n"
                     "                        footers shown: they are not subtracted from the\n"
                     "                        pageEndsNo* mappings\n"
                     "  --no-references       skip the references and citations\n"
                     "  --errata FILE.json    end each record with an \"errata\" array: the errata of\n"
                     "                        the RFC in the RFC Editor's errata database FILE.json,\n"
                     "                        each with its id, status, type, the file lines\n"
                     "                        (\"firstLine\", \"lastLine\", from 0) it applies to and\n"
                     "                        \"placedBy\": \"text\", \"section\" or \"top\"\n"
                     "  --time                print each file's analysis time to standard error\n"
                     "                        as \"FILE: N ms\"\n"
                     "  --index FILE          read FILE as the RFC index and print its entries\n"
                     "  --index-entry N FILE  print the fields of entry N of the RFC index FILE\n"
                     "  --requirements-csv FILE\n"
                     "                        print the requirement sentences of FILE as CSV\n"
                     "  --help                print this help\n"
                     "\n"
                     "A file that cannot be read gives {\"file\": ..., \"ok\": false, \"error\": ...};\n"
                     "the other files are still analysed and the exit status is 1. \"ok\" is\n"
                     "false too when the analysis stopped at a contents line it cannot parse.\n"
                     "\n"
                     "Strings are the file's bytes: valid UTF-8 stays as it is, and each byte\n"
                     "that is not part of valid UTF-8 is written as the Latin-1 character of\n"
                     "the same value (byte 0xE9 gives U+00E9), so the output is always valid\n"
                     "JSON and every byte can be recovered.\n"
                     "\n"
                     "Exit status: 0 when every file was read, 1 when one could not be read\n"
                     "(or --index-entry found no entry N, or the errata file gave no errata),\n"
                     "2 for a usage error.\n";

int usage()
{
    std::cerr << "usage: parchly-analyse [OPTION]... FILE...\n"
                 "       parchly-analyse --index FILE\n"
                 "       parchly-analyse --index-entry N FILE\n"
                 "       parchly-analyse --requirements-csv FILE\n"
                 "Try 'parchly-analyse --help' for more.\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    parchly::AnalysisOptions options;
    bool time = false;
    std::optional<parchly::ErrataCatalogue> errata;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::cout << kHelp;
            return 0;
        }
        if (arg == "--index" || arg == "--index-entry") {
            // The index modes take the rest of the line and no option.
            if (i != 1)
                return usage();
            if (arg == "--index")
                return argc == 3 ? (parchly::dumpIndex(argv[2], std::cout) ? 0 : 1) : usage();
            if (argc != 4)
                return usage();
            char* end = nullptr;
            const long number = std::strtol(argv[2], &end, 10);
            if (end == argv[2] || *end != '\0' || number <= 0)
                return usage();
            return parchly::dumpIndexEntry(argv[3], static_cast<int>(number), std::cout) ? 0 : 1;
        }
        if (arg == "--requirements-csv") {
            if (i != 1 || argc != 3)
                return usage();
            return parchly::dumpRequirementsCsv(argv[2], std::cout) ? 0 : 1;
        }
        if (arg == "--errata") {
            if (i + 1 == argc)
                return usage();
            parchly::ErrataLoad load = parchly::readErrataFile(argv[++i]);
            // A file cut short still gives the errata before the cut; one
            // that gives none stops here rather than print records without.
            if (!load.complete())
                std::cerr << "parchly-analyse: " << load.error << "\n";
            if (load.errata.empty() && !load.complete())
                return 1;
            errata.emplace(std::move(load.errata));
        } else if (arg == "--time")
            time = true;
        else if (arg == "--no-build-structure")
            options.buildStructureFromText = false;
        else if (arg == "--keep-blank-lines")
            options.disableSpacesNearHeaderAndFooter = false;
        else if (arg == "--no-references")
            options.disableReferenceAnalysis = true;
        else if (arg == "--") {
            files.insert(files.end(), argv + i + 1, argv + argc);
            break;
        } else if (arg.size() > 1 && arg[0] == '-')
            return usage();
        else
            files.push_back(arg);
    }
    if (files.empty())
        return usage();
    int status = 0;
    for (const std::string& file : files) {
        if (!parchly::dumpRfc(file, options, std::cout, time ? &std::cerr : nullptr,
                              errata ? &*errata : nullptr))
            status = 1;
    }
    return status;
}
