#include "collection/collection_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace parchly {
namespace {

// The jobs whose paths a read-ahead asked for, one count per job, when a
// pass takes `jobs` jobs in order.
std::vector<int> pathsAskedFor(std::size_t jobs)
{
    std::vector<int> asked(jobs, 0);
    const std::string missing = "/nonexistent/rfc1.txt";
    const ReadAhead readAhead(jobs, [&](std::size_t job) -> const std::string& {
        ++asked.at(job);
        return missing;
    });
    for (std::size_t job = 0; job < jobs; ++job)
        readAhead.taken(job);
    return asked;
}

// Each file is read ahead once, whether the pass is shorter or longer than
// the distance ahead, and nothing past the last job is asked for (at()
// would throw).
TEST(ReadAhead, AsksForEveryFileOnceAndNoneBeyondTheLast)
{
    for (const std::size_t jobs :
         {std::size_t(0), std::size_t(1), ReadAhead::kDistance - 1, ReadAhead::kDistance,
          ReadAhead::kDistance + 1, 5 * ReadAhead::kDistance + 3}) {
        const std::vector<int> asked = pathsAskedFor(jobs);
        EXPECT_EQ(asked, std::vector<int>(jobs, 1)) << jobs << " jobs";
    }
}

} // namespace
} // namespace parchly
