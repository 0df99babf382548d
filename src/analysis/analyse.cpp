#include "analysis/analyse.h"

#include "analysis/contents.h"
#include "analysis/front_matter.h"
#include "analysis/headings.h"
#include "analysis/indented_headings.h"
#include "analysis/line_cues.h"
#include "analysis/links.h"
#include "analysis/page_statistics.h"
#include "analysis/references.h"
#include "analysis/requirements.h"
#include "analysis/section_anchors.h"
#include "analysis/structure_from_text.h"
#include "analysis/text_scan.h"

#include <optional>
#include <string_view>

namespace parchly {

bool analyseText(RfcText& text, LineReader* file, const LimitsBlock& limits, const AnalysisOptions& options)
{
    if (file == nullptr)
        return false;
    LineReader& source = *file;
    source.rewind();
    // Nothing of an earlier analysis into the same record may survive: a
    // header line learned from one text would mark lines of the next.
    text = RfcText();
    // The page records grow a page at a time; the form feeds tell nearly
    // always how many pages there are, a header and a footer each.
    const std::size_t pages = source.formFeedLines().size() + 1;
    text.pageEnds.reserve(pages + 1);
    text.pageMarks.reserve(2 * pages);
    text.pageEnds.push_back(-1);
    TextScan scan{text, source};

    // Each pass reads on where the previous one stopped.
    readFrontMatter(scan);
    readTitle(scan);
    const std::size_t bodyStart = source.linesRead();
    if (readPreContentsHeadings(scan, limits)) {
        std::string_view firstHeading;
        const ContentsEnd end = parseContents(scan, firstHeading);
        readBodyHeadings(scan, limits, end == ContentsEnd::kAtHeading ? firstHeading : std::string_view());
    }
    notePendingPageBreak(scan);
    readFooterAuthor(text);
    readHeaderDate(text);
    readHeaderNumber(text);
    readHeaderTitle(text);
    if (text.contents.empty() && options.buildStructureFromText) {
        buildStructureFromText(text);
        // A fallback, asked only of a text whose headings gave no structure.
        if (text.contents.empty() && readIndentedHeadings(text, source, limits, bodyStart))
            buildStructureFromText(text);
    }

    // These two read the text again from its start.
    if (options.pageStatistics)
        computePageStatistics(text, source, options.disableSpacesNearHeaderAndFooter);
    analyseReferences(text, file, options);
    // The references' labels, which the citations and the links look up
    // alike: made once for both.
    const ReferenceLabels labels(text.references);
    if (options.citationMarks)
        findCitations(text, file, labels);

    findLinksAndRequirements(text, source, options.links, options.requirements, &labels);
    return true;
}

void findLinksAndRequirements(RfcText& text, LineReader& file, LinkScope links, bool requirements,
                              const ReferenceLabels* labels)
{
    // Bracketed citations name references: without one there is none to
    // find, and the requirements read no link.
    if (links == LinkScope::Citations && text.references.empty())
        links = LinkScope::None;
    if (links == LinkScope::None && !requirements)
        return;
    // These look across line ends: the text is held once for all three,
    // and the words they start from are found in one scan of it.
    const TextLines lines = readTextLines(file, text);
    const uint8_t families = static_cast<uint8_t>((links == LinkScope::All ? kCueLinkStart : kCueBracket)
                                                  | (requirements ? kCueRequirement : 0));
    const LineCues cues = findLineCues(lines, families);
    if (links == LinkScope::All || requirements)
        collectSectionAnchors(text, lines);
    std::optional<ReferenceLabels> ownLabels;
    if (labels == nullptr && links != LinkScope::None)
        labels = &ownLabels.emplace(text.references);
    findLinks(text, lines, cues, links, labels);
    if (requirements)
        findRequirements(text, lines, cues);
}

} // namespace parchly
