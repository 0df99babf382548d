// Helpers of the analysis tests: texts built from numbered lines and their
// analysis with the default options.
#ifndef PARCHLY_TESTS_ANALYSIS_ANALYSIS_SUPPORT_H
#define PARCHLY_TESTS_ANALYSIS_ANALYSIS_SUPPORT_H

#include "analysis/analyse.h"
#include "analysis/line_mapping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace parchly::test {

// The lines joined with LF line ends; the first is line 1.
inline std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

struct Analysed {
    RfcText text;
    bool ok = false;
};

inline Analysed analyseBytes(const std::string& bytes, const AnalysisOptions& options = {})
{
    Analysed result;
    LineReader reader(bytes);
    result.ok = analyseText(result.text, &reader, LimitsBlock(), options);
    return result;
}

// The bytes of a file of tests/fixtures/analysis.
inline std::string fixtureBytes(const std::string& name)
{
    std::ifstream in(std::string(PARCHLY_FIXTURES_DIR) + "/analysis/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Analysed analyseLines(const std::vector<std::string>& lines,
                             const AnalysisOptions& options = {})
{
    return analyseBytes(joinLines(lines), options);
}

// In every hide state, every shown line comes back from its file line,
// except that a shown page boundary maps to the file line that ends its page,
// which the way back may count on the next page.
inline void expectShownLinesRoundTrip(RfcText text, bool alsoHidingBlankLines = true)
{
    for (int state = 1; state < 8; ++state) {
        text.hideHeaders = state & 1;
        text.hideFooters = state & 2;
        text.hideBlankLines = state & 4;
        if (text.hideBlankLines && !alsoHidingBlankLines)
            continue;
        const std::vector<int32_t>& ends = text.hideHeaders
            ? (text.hideFooters ? text.pageEndsNoHeadersFooters : text.pageEndsNoHeaders)
            : text.pageEndsNoFooters;
        const int32_t lastShown = fileLineToDisplay(text, text.lineCount);
        int failures = 0;
        for (int32_t shown = 1; shown <= lastShown && failures < 5; ++shown) {
            const int32_t back = fileLineToDisplay(text, displayLineToFile(text, shown));
            const bool boundary = std::find(ends.begin(), ends.end(), shown) != ends.end();
            if (back != shown && !(boundary && back == shown + 1)) {
                ++failures;
                ADD_FAILURE() << "hide state " << state << ": line " << shown << " comes back as " << back;
            }
        }
    }
}

// A small paginated RFC in the style of the 1990s: three pages, each ended
// by a footer and a form feed, a table of contents with a title over two
// lines, and three body headings.
inline std::vector<std::string> nineties()
{
    return {
        "Network Working Group                                      R. Fielding", //  1
        "Request for Comments: 2616                                   UC Irvine", //  2
        "Obsoletes: 2068, 2069                                        J. Gettys", //  3
        "Category: Standards Track                                   Compaq/W3C", //  4
        "                                                             June 1999", //  5
        "",                                                                       //  6
        "",                                                                       //  7
        "                Hypertext Transfer Protocol -- HTTP/1.1",                //  8
        "",                                                                       //  9
        "Abstract",                                                               // 10
        "",                                                                       // 11
        "   The protocol.",                                                       // 12
        "",                                                                       // 13
        "Fielding, et al.            Standards Track                     [Page 1]", // 14
        "\f",                                                                     // 15
        "RFC 2616                        HTTP/1.1                       June 1999", // 16
        "",                                                                       // 17
        "Table of Contents",                                                      // 18
        "",                                                                       // 19
        "   1.  Introduction ...............................................  2", // 20
        "   1.1 Purpose ....................................................  2", // 21
        "   2.  Protocol Overview and a title that goes on to the",              // 22
        "       next line ..................................................  3", // 23
        "",                                                                       // 24
        "1.  Introduction",                                                       // 25
        "",                                                                       // 26
        "Fielding, et al.            Standards Track                     [Page 2]", // 27
        "\f",                                                                     // 28
        "RFC 2616                        HTTP/1.1                       June 1999", // 29
        "",                                                                       // 30
        "1.1 Purpose",                                                            // 31
        "",                                                                       // 32
        "   Text.",                                                               // 33
        "",                                                                       // 34
        "2.  Protocol Overview and a title that goes on to the next line",        // 35
        "",                                                                       // 36
        "   More text.",                                                          // 37
        "",                                                                       // 38
        "Fielding, et al.            Standards Track                     [Page 3]", // 39
        "\f",                                                                     // 40
    };
}

} // namespace parchly::test

#endif
