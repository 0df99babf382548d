// Helpers of the references tests: a stand-in for the contents pass and the
// checks every analysed text must pass.
#ifndef PARCHLY_TESTS_ANALYSIS_REFERENCES_SUPPORT_H
#define PARCHLY_TESTS_ANALYSIS_REFERENCES_SUPPORT_H

#include "analysis/line_reader.h"
#include "analysis/references.h"
#include "analysis/rfc_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace parchly::test {

// The lines of a text as every pass reads them (long lines in pieces).
inline std::vector<std::string> readerLines(const std::string& rawBytes)
{
    LineReader reader(rawBytes);
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line))
        lines.push_back(line);
    return lines;
}

inline bool looksLikePageLine(const std::string& line)
{
    const bool header = line.compare(0, 4, "RFC ") == 0 && line.size() > 4 && line[4] >= '0'
        && line[4] <= '9';
    return header || line.find("[Page ") != std::string::npos;
}

// Stands in for the contents pass: every unindented line that is not a page
// header, footer, form-feed line or the later piece of a long line becomes a located contents entry (its
// leading section number split off), so a references section runs up to the
// next such line. Sets `lineCount` to the lines of the text, as the earlier
// passes leave it.
inline void scanHeadingsAsContents(RfcText& text, const std::string& rawBytes)
{
    const std::vector<std::string> lines = readerLines(rawBytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const bool continuesLongLine = i > 0 && lines[i - 1].back() != '\n';
        const char first = line.front();
        if (continuesLongLine || first == ' ' || first == '\t' || first == '\r' || first == '\n'
            || first == '\f' || looksLikePageLine(line))
            continue;
        const std::size_t numberEnd = line.find_first_not_of("0123456789.");
        const std::size_t titleStart = line.find_first_not_of(" \t", numberEnd);
        const std::size_t titleEnd = line.find_last_not_of(" \t\r\n");
        ContentEntry entry;
        entry.number = line.substr(0, numberEnd);
        if (titleStart != std::string::npos && titleEnd != std::string::npos && titleEnd >= titleStart)
            entry.title = line.substr(titleStart, titleEnd + 1 - titleStart);
        entry.page = 1; // as in the contents of a paginated RFC
        entry.headingLine = static_cast<int32_t>(i + 1);
        entry.matched = true;
        text.contents.push_back(entry);
    }
    text.lineCount = static_cast<int32_t>(lines.size());
}

// Every reference sits in a references section, in file order, at a line
// that shows its label; every citation stands before the first reference
// and shows, at its columns, the label of the reference it points at.
inline void expectConsistentReferences(const RfcText& text, const std::string& rawBytes)
{
    const std::vector<std::string> lines = readerLines(rawBytes);
    int32_t previousLine = -1;
    for (const ReferenceEntry& reference : text.references) {
        ASSERT_GT(reference.firstLine, previousLine);
        ASSERT_LE(reference.lastLine, static_cast<int32_t>(lines.size()) - 1);
        EXPECT_GE(reference.lastLine, reference.firstLine);
        const std::string& line = lines[static_cast<std::size_t>(reference.firstLine)];
        EXPECT_EQ(line.substr(line.find('['), reference.label.size()), reference.label);
        EXPECT_EQ(reference.label.find(']'), reference.label.size() - 1) << reference.label;
        EXPECT_TRUE(isReferencesTitle(text.contents.at(static_cast<std::size_t>(reference.section)).title));
        previousLine = reference.firstLine;
    }
    for (const CitationMark& citation : text.citations) {
        ASSERT_LT(citation.line, text.references.front().firstLine);
        const std::string& line = lines.at(static_cast<std::size_t>(citation.line));
        EXPECT_EQ(line.substr(static_cast<std::size_t>(citation.startColumn),
                              static_cast<std::size_t>(citation.endColumn - citation.startColumn)),
                  text.references.at(static_cast<std::size_t>(citation.reference)).label);
    }
}

} // namespace parchly::test

#endif
