// The records of the links across RFCs and of the requirement sentences,
// held by RfcText (rfc_text.h) and filled by section_anchors.cpp, links.cpp
// and requirements.cpp.
//
// Positions in the text (`line`, columns) are 0-based line indexes and byte
// offsets, as in CitationMark; heading lines (`SectionAnchor::line`,
// `LinkMark::targetLine`) are 1-based line numbers, as
// ContentEntry::headingLine, so that the view jumps to them the same way.
#ifndef PARCHLY_ANALYSIS_LINK_RECORDS_H
#define PARCHLY_ANALYSIS_LINK_RECORDS_H

#include <cstdint>
#include <string>

namespace parchly {

// A heading the text can be sent to: from the contents, from the headings
// list, or an unindented numbered line of the body that the contents lack
// (the sub-sections a two-level contents leaves out).
struct SectionAnchor {
    int32_t line = 0;
    std::string number; // "3.2", "B.1"; empty for an unnumbered heading
    std::string title;
};

enum class LinkKind : uint8_t {
    Citation, // a bracketed label naming a reference
    Rfc, // an RFC number
    Series, // "BCP 14", "STD 97", "FYI 36": the index says which RFCs
    Section, // a section of this document or of another RFC
};

// Which links a caller wants found: counting citations needs only them,
// and they cost a fraction of the whole search.
enum class LinkScope : uint8_t {
    All,
    Citations, // the bracketed citations alone
    None,
};

struct LinkMark {
    LinkKind kind = LinkKind::Rfc;
    int32_t line = 0;
    int32_t startColumn = 0;
    int32_t endColumn = 0;
    // Rfc: the number. Citation: the reference's RFC number, 0 when it names
    // none. Section: the RFC that holds the section, 0 for this document.
    int32_t targetRfc = 0;
    // Section: "3.2", "B.1".
    std::string targetSection;
    // Citation, or a section named through a citation: index into
    // `references`; -1 otherwise.
    int32_t targetReference = -1;
    // Section of this document: the heading's line number; 0 otherwise.
    int32_t targetLine = 0;
    // Series: "BCP", "STD" or "FYI", and its number.
    std::string series;
    int32_t seriesNumber = 0;
};

// One upper-case requirement keyword (RFC 2119, RFC 8174) and the sentence
// that holds it; a sentence with two keywords is listed once for each.
struct RequirementSentence {
    std::string keyword; // "MUST NOT": the longest form
    int32_t line = 0;
    int32_t column = 0;
    // Where the sentence starts, for a jump to it.
    int32_t sentenceLine = 0;
    int32_t sentenceColumn = 0;
    // Index into `sectionAnchors` of the section that holds the keyword, -1
    // before the first heading.
    int32_t section = -1;
    // Its lines joined by single spaces, page headers and footers left out.
    std::string sentence;
};

} // namespace parchly

#endif
