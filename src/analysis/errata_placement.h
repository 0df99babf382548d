// Where each erratum of an RFC applies: at the lines of its original text,
// else at the heading of the section it names, else at the top.
#ifndef PARCHLY_ANALYSIS_ERRATA_PLACEMENT_H
#define PARCHLY_ANALYSIS_ERRATA_PLACEMENT_H

#include "analysis/erratum.h"
#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"
#include "analysis/text_lines.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parchly {

// Places errata against one analysed text. Holds the text's lines once,
// without white space, page headers, footers and blank lines, so that the
// original text is found whatever its line breaks and page breaks; keeps
// references to `text`, which must outlive it.
class ErrataPlacer {
public:
    ErrataPlacer(const RfcText& text, const TextLines& lines);

    ErratumPlacement place(const Erratum& erratum) const;

    // The file lines [first, end) of the section named by an erratum's
    // section field, 0-based; {-1, -1} when the text has no such section.
    std::pair<int32_t, int32_t> namedSectionLines(const std::string& field) const;

private:
    // The text lines without white space, and the file line of each
    // character.
    struct Stream {
        bool withoutBars = false; // "|" left out too
        std::string characters;
        std::vector<int32_t> lineOf;
        void append(std::string_view line, int32_t fileLine);
        // The first character at or after file line `fileLine`.
        std::size_t offsetOfLine(int32_t fileLine) const;
    };
    struct Match {
        const Stream* stream = nullptr;
        std::size_t start = 0;
        std::size_t end = 0;
    };
    // Every place the pieces occur in order, each within reach of the one
    // before; at most a few dozen.
    std::vector<Match> findPieces(const Stream& stream, const std::vector<std::string>& pieces) const;
    // The original text line by line, for a text changed beyond the ends
    // of its lines: within the section, or where a line occurs only once.
    bool findByLines(const std::vector<std::string>& lines, std::pair<int32_t, int32_t> section,
                     Match& match) const;
    static std::size_t findLongestStart(std::string_view range, const std::string& line, std::size_t& length);
    bool inSection(const Match& match, std::pair<int32_t, int32_t> section) const;
    ErratumPlacement placedAt(const Match& match) const;

    const RfcText& m_text;
    // The heading line (1-based) of each located contents entry, by number.
    std::map<std::string, int32_t> m_contentsHeadings;
    Stream m_plain;
    Stream m_barless{true, {}, {}};
};

// Analyses nothing: places `errata` against the analysed `text` of `file`,
// one placement for each erratum in order.
std::vector<ErratumPlacement> placeErrata(const RfcText& text, LineReader& file,
                                          const std::vector<Erratum>& errata);

} // namespace parchly

#endif
