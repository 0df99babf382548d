#include "view/line_placement.h"

#include "platform/text_view.h"

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

} // namespace parchly
