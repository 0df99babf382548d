#include "analysis/analyse.h"

#include "analysis/contents.h"
#include "analysis/front_matter.h"
#include "analysis/headings.h"
#include "analysis/line_cues.h"
#include "analysis/links.h"
#include "analysis/page_statistics.h"
#include "analysis/references.h"
#include "analysis/requirements.h"
#include "analysis/section_anchors.h"
#include "analysis/structure_from_text.h"
#include "analysis/text_scan.h"

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
    text.pageEnds.push_back(-1);
    TextScan scan{text, source};

    // Each pass reads on where the previous one stopped.
    readFrontMatter(scan);
    readTitle(scan);
    if (readPreContentsHeadings(scan, limits)) {
        std::string_view firstHeading;
        const ContentsEnd end = parseContents(scan, firstHeading);
        readBodyHeadings(scan, limits, end == ContentsEnd::kAtHeading ? firstHeading : std::string_view());
    }
    notePendingPageBreak(scan);
    if (text.contents.empty() && options.buildStructureFromText)
        buildStructureFromText(text);

    // These two read the text again from its start.
    if (options.pageStatistics)
        computePageStatistics(text, source, options.disableSpacesNearHeaderAndFooter);
    analyseReferences(text, file, options);

    // These look across line ends: the text is held once for all three,
    // and the words they start from are found in one scan of it.
    const bool sections = options.links == LinkScope::All || options.requirements;
    if (options.links == LinkScope::None && !options.requirements)
        return true;
    const TextLines lines = readTextLines(*file, text);
    const uint8_t families =
        static_cast<uint8_t>((options.links == LinkScope::All ? kCueLinkStart : kCueBracket)
                             | (options.requirements ? kCueRequirement : 0));
    const LineCues cues = findLineCues(lines, families);
    if (sections)
        collectSectionAnchors(text, lines);
    findLinks(text, lines, cues, options.links);
    if (options.requirements)
        findRequirements(text, lines, cues);
    return true;
}

} // namespace parchly
