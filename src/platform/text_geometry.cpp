#include "platform/text_geometry.h"

#include "platform/text_view.h"

namespace parchly {

int lineFromPoint(const TextView& view, int y)
{
    const int first = view.firstVisibleLine();
    auto top = [&view](int line) { return view.positionToPoint(view.lineStart(line)).y(); };
    if (top(first) >= y)
        return first;
    int line = first;
    const int count = view.lineCount();
    while (line + 1 < count) {
        const int nextTop = top(line + 1);
        if (nextTop < 0 || nextTop >= y)
            break;
        ++line;
    }
    return line;
}

bool inFormatRect(const TextView& view, const QPoint& point)
{
    const QRect rect = view.formatRect();
    return !rect.isEmpty() && rect.contains(point);
}

int lengthWithoutLineEnd(const QString& line)
{
    int length = line.size();
    while (length > 0 && (line[length - 1] == QLatin1Char('\n') || line[length - 1] == QLatin1Char('\r')))
        --length;
    return length;
}

} // namespace parchly
