#include "platform/shown_lines.h"

#include "analysis/line_reader.h"
#include "platform/text_decoding.h"
#include "platform/text_view.h"

#include <QTextBlock>
#include <QTextDocument>

namespace parchly {

namespace {

int endOfText(const TextView& view)
{
    return view.document()->characterCount() - 1;
}

} // namespace

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

bool isBlankLine(const TextView& view, int line)
{
    const QString text = view.document()->findBlockByNumber(line).text();
    return atLineEnd(text, skipBlanks(text, 0));
}

int firstNonBlankPosition(const TextView& view, int line)
{
    const QTextBlock block = view.document()->findBlockByNumber(line);
    return block.position() + skipBlanks(block.text(), 0);
}

int lineEndPosition(const TextView& view, int line)
{
    const QTextBlock next = view.document()->findBlockByNumber(line).next();
    return next.isValid() ? next.position() : endOfText(view);
}

int nextBlankLineStart(const TextView& view, int line)
{
    QTextBlock block = view.document()->findBlockByNumber(line);
    for (block = block.next(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (atLineEnd(text, skipBlanks(text, 0)))
            return block.position();
    }
    return endOfText(view);
}

QString examinedText(const TextView& view, int line)
{
    return view.lineText(line).left(int(kLineBufferSize) - 1);
}

} // namespace parchly
