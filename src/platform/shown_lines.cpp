#include "platform/shown_lines.h"

#include "analysis/line_reader.h"
#include "platform/text_decoding.h"
#include "platform/text_view.h"

namespace parchly {

int skipBlanks(const QString& text, int position)
{
    while (position < text.size()
           && (text[position] == QLatin1Char(' ') || text[position] == QLatin1Char('\t')))
        ++position;
    return position;
}

bool atLineEnd(const QString& text, int position)
{
    if (position >= text.size())
        return true;
    const QChar c = text[position];
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(kShownCarriageReturn);
}

QString examinedText(const TextView& view, int line)
{
    return view.lineText(line).left(int(kLineBufferSize) - 1);
}

} // namespace parchly
