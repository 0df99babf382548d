#include "analysis/recognition.h"

namespace parchly {

bool recognisedAsRfc(const RfcText& text)
{
    return text.isIndex || text.rfcNumber > 0 || !text.category.empty() || !text.pageMarks.empty()
        || text.pageCount > 0;
}

void keepAsPlainText(RfcText& text)
{
    text.titleLine = 0;
    text.title.clear();
    text.contents.clear();
    text.headings.clear();
    text.structureFromText = false;
    text.currentEntry = -1;
    text.references.clear();
    text.referencesWithoutTitles = false;
    text.citations.clear();
    text.sectionAnchors.clear();
    text.links.clear();
    text.requirements.clear();
}

} // namespace parchly
