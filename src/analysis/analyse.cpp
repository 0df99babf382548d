#include "analysis/analyse.h"

#include "analysis/contents.h"
#include "analysis/front_matter.h"
#include "analysis/headings.h"
#include "analysis/page_statistics.h"
#include "analysis/references.h"
#include "analysis/structure_from_text.h"
#include "analysis/text_scan.h"

#include <string>

namespace parchly {

bool analyseText(RfcText& text, LineReader* file, const LimitsBlock& limits,
                 const AnalysisOptions& options)
{
    if (file == nullptr)
        return false;
    LineSource source(*file);
    source.rewind();
    text.reset();
    text.pageEnds.push_back(-1);
    TextScan scan{text, source};

    readFrontMatter(scan);
    readTitle(scan);

    if (readPreContentsHeadings(scan, limits)) {
        std::string firstHeading;
        const ContentsEnd end = parseContents(scan, firstHeading);
        if (end == ContentsEnd::kFailed)
            return false;
        if (!text.contents.empty())
            readBodyHeadings(scan, limits, end == ContentsEnd::kAtHeading ? firstHeading : std::string());
    }
    if (text.contents.empty() && options.buildStructureFromText)
        buildStructureFromText(text);

    computePageStatistics(text, source, options.disableSpacesNearHeaderAndFooter);
    source.rewind();
    analyseReferences(text, file, options);
    return true;
}

} // namespace parchly
