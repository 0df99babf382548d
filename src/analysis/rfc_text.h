// The analysed form of one opened file: an RFC, or the RFC index when
// isIndex is set. Plain records in growable arrays, owned by value.
#ifndef PARCHLY_ANALYSIS_RFC_TEXT_H
#define PARCHLY_ANALYSIS_RFC_TEXT_H

#include "analysis/link_records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace parchly {

// The document's three limits: line width, page height and the minimum
// length of a sentence-like line. Only the third is used by the analysis.
struct LimitsBlock {
    int32_t lineWidth = 73;
    int32_t pageHeight = 56;
    int32_t sentenceLength = 100;
};

// Line fields of ContentEntry, SectionHeading and PageMark are 1-based line
// numbers as counted by the reader; ReferenceEntry and CitationMark hold
// 0-based line indexes.
struct ContentEntry {
    int32_t firstLine = 0;
    int32_t lastLine = 0;
    std::string number;
    std::string title;
    int32_t page = 0;
    int32_t headingLine = 0;
    bool matched = false;
};

struct SectionHeading {
    int32_t line = 0;
    std::string number;
    std::string title;
};

struct PageMark {
    int32_t line = 0;
    int32_t page = 0;
    bool isHeader = false;
};

struct ReferenceEntry {
    int32_t rfc = 0;
    int32_t firstLine = 0;
    int32_t lastLine = 0;
    int32_t linkLine = 0;
    int32_t linkStart = 0;
    int32_t linkEnd = 0;
    std::string label;
    std::string title;
    int32_t section = 0;
};

struct CitationMark {
    int32_t line = 0;
    int32_t startColumn = 0;
    int32_t endColumn = 0;
    int32_t reference = 0;
};

struct AuthorEntry {
    std::string name;
    std::string organisation;
};

struct RfcIndexEntry {
    int32_t number = 0;
    int32_t firstLine = 0;
    int32_t lastLine = 0;
    std::string title;
};

// A default-constructed record is the empty one every analysis starts
// from: the analysis replaces the whole record rather than clearing parts.
struct RfcText {
    int32_t titleLine = 0;
    std::string title;
    std::vector<ContentEntry> contents;
    std::vector<SectionHeading> headings;
    std::vector<PageMark> pageMarks;
    std::vector<int32_t> pageEnds;
    std::vector<int32_t> linesBeforeHeader;
    std::vector<int32_t> linesFromFooter;
    std::vector<int32_t> blankAfterHeader;
    std::vector<int32_t> blankBeforeFooter;
    std::vector<int32_t> pageEndsNoHeaders;
    std::vector<int32_t> pageEndsNoFooters;
    std::vector<int32_t> pageEndsNoHeadersFooters;
    int32_t pageCount = 0;
    bool isIndex = false;
    bool referencesWithoutTitles = false;
    std::vector<ReferenceEntry> references;
    std::vector<CitationMark> citations;
    int32_t currentEntry = -1;
    std::vector<RfcIndexEntry> indexEntries;
    bool structureFromText = false;
    int32_t lineCount = 0;
    std::string groupLine;
    int32_t rfcNumber = 0;
    std::vector<AuthorEntry> authors;
    std::string category;
    int32_t updates = 0;
    int32_t obsoletes = 0;
    // Every number of the "Obsoletes:" and "Updates:" lists, continuation
    // lines included, and the series numbers of the "STD:", "BCP:" and
    // "FYI:" lines; 0 when there is none.
    std::vector<int32_t> obsoletesList;
    std::vector<int32_t> updatesList;
    int32_t stdNumber = 0;
    int32_t bcpNumber = 0;
    int32_t fyiNumber = 0;
    int32_t day = 0;
    std::string month;
    int32_t year = 0;
    std::string headerLine;
    std::string footerPrefix;

    // Links across RFCs and requirement sentences (link_records.h). The
    // passes that fill them clear them themselves.
    std::vector<SectionAnchor> sectionAnchors;
    std::vector<LinkMark> links;
    std::vector<RequirementSentence> requirements;
};

} // namespace parchly

#endif
