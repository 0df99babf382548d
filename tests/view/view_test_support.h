// What the view tests share: the fixture RFC, its lines as the file holds
// them, and reading formats back from the shown text.
#ifndef PARCHLY_TESTS_VIEW_VIEW_TEST_SUPPORT_H
#define PARCHLY_TESTS_VIEW_VIEW_TEST_SUPPORT_H

#include "analysis/line_reader.h"
#include "settings/formats.h"
#include "platform/text_decoding.h"
#include "platform/text_view.h"

#include <QColor>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <ostream>
#include <string>

// Readable failure messages for shown text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace parchly::test {

// A three-page RFC: front matter, title, contents (1, 1.1, 1.2, 2, 3, an
// appendix), headers and footers, citations (one after non-ASCII text) and
// two references, the second with its RFC number on the line after "RFC".
inline QString fixtureRfcPath()
{
    return QStringLiteral(PARCHLY_FIXTURES_DIR "/view/rfc9990.txt");
}

// The text the view must show for a file: its bytes as a text-mode read
// gives them, decoded.
inline QString expectedShownText(const QString& path)
{
    std::string bytes;
    readTextModeFile(path.toStdString(), bytes);
    return decodeRfcText(bytes).text;
}

// The shown lines, each without its line end.
inline QStringList shownLines(const TextView& view)
{
    QStringList lines;
    for (int line = 0; line < view.lineCount(); ++line) {
        QString text = view.lineText(line);
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        lines << text;
    }
    return lines;
}

inline QTextCharFormat formatAt(const TextView& view, int line, int column)
{
    QTextCursor cursor(view.document());
    cursor.setPosition(view.lineStart(line) + column + 1);
    return cursor.charFormat();
}

inline QColor colourAt(const TextView& view, int line, int column)
{
    return formatAt(view, line, column).foreground().color();
}

inline bool underlinedAt(const TextView& view, int line, int column)
{
    return formatAt(view, line, column).fontUnderline();
}

// A format that sets only a colour, bold off and underline off, so that each
// category can be told apart in the shown text.
inline TextFormat colourOnly(uint32_t red, uint32_t green, uint32_t blue)
{
    TextFormat format{};
    format.size = sizeof(TextFormat);
    format.mask = kMaskColour | kMaskUnderline | kMaskBold;
    format.colour = red | (green << 8) | (blue << 16);
    return format;
}

const QColor kDefaultColour(0, 0, 0);
const QColor kSubtitleColour(200, 0, 0);
const QColor kContentsColour(0, 0, 200);
const QColor kMarksColour(0, 150, 0);

} // namespace parchly::test

#endif
