#include "analysis/rfc_text.h"

namespace parchly {

RfcText::RfcText()
{
    reset();
}

void RfcText::reset()
{
    updates = 0;
    obsoletes = 0;
    obsoletesList.clear();
    updatesList.clear();
    std = 0;
    bcp = 0;
    fyi = 0;
    rfcNumber = 0;
    lineCount = 0;
    pageCount = 0;
    titleLine = 0;
    year = 0;
    currentEntry = -1;
    category.clear();
    groupLine.clear();
    title.clear();
    isIndex = false;
    referencesWithoutTitles = false;
    hideHeaders = false;
    hideFooters = false;
    hideBlankLines = false;
    showPageSeparators = false;
    structureFromText = false;
    authors.clear();
    contents.clear();
    headings.clear();
    pageMarks.clear();
    pageEnds.clear();
    linesBeforeHeader.clear();
    linesFromFooter.clear();
    blankAfterHeader.clear();
    blankBeforeFooter.clear();
    pageEndsNoHeaders.clear();
    pageEndsNoFooters.clear();
    pageEndsNoHeadersFooters.clear();
}

} // namespace parchly
