#include "view/line_placement.h"

#include "platform/text_decoding.h"
#include "platform/text_view.h"
#include "view/rfc_document.h"

#include <algorithm>

namespace parchly {

void putLineAtTop(TextView& view, int line)
{
    const int start = view.lineStart(line);
    if (start >= 0)
        view.setSelection(start, start);
    // After the caret, whose move scrolls only as far as needed.
    view.scrollLines(line - view.firstVisibleLine());
}

void bringIntoUpperThird(TextView& view, int line)
{
    const int top = view.firstVisibleLine();
    if (line >= top && line < top + std::max(1, view.visibleLineCount() / 3))
        return;
    view.scrollLines(line - top);
}

int charColumnOf(const TextView& view, const RfcDocument& document, int shownLine, int byteColumn)
{
    const int32_t fileIndex = document.fileLineOf(ShownLine::atIndex(shownLine)).index();
    const std::vector<int32_t>& latin1 = view.streamedLatin1Lines();
    const bool byteForByte = std::binary_search(latin1.begin(), latin1.end(), fileIndex);
    return byteColumnToCharColumn(view.lineText(shownLine), byteColumn, byteForByte);
}

} // namespace parchly
