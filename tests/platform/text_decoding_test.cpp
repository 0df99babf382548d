#include "platform/text_decoding.h"

#include "analysis/line_reader.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace parchly {

// Each line is UTF-8 when valid and byte for byte when not, one bad line not
// spoiling its neighbours; a CR inside a line and the Unicode separators
// would split the line in the control, where the analysis sees one line.
TEST(TextDecoding, DecodesEachLineOnItsOwnAndKeepsLinesWhereTheAnalysisHasThem)
{
    const QChar cr(kShownCarriageReturn);
    const QChar bad(QChar::ReplacementCharacter);
    const struct {
        std::string bytes;
        QString text;
        std::vector<int32_t> latin1Lines;
    } cases[] = {
        {"plain\nascii\n", "plain\nascii\n", {}},
        {"caf\xC3\xA9 [1]\n", QString::fromUtf8("caf\xC3\xA9 [1]\n"), {}},
        {"G\xC3\xBCnther\nM\xFCller\n\xE2\x82\xAC\nM\xFCller",
         QString::fromUtf8("G\xC3\xBCnther\nM\xC3\xBCller\n\xE2\x82\xAC\nM\xC3\xBCller"),
         {1, 3}},
        {"a\rb\nc\xE2\x80\xA8"
         "d\ne\xE2\x80\xA9"
         "f\n",
         QString("a") + cr + "b\nc" + bad + "d\ne" + bad + "f\n",
         {}},
    };
    for (const auto& c : cases) {
        const DecodedText decoded = decodeRfcText(c.bytes);
        EXPECT_EQ(decoded.text, c.text) << c.bytes;
        EXPECT_EQ(decoded.latin1Lines, c.latin1Lines) << c.bytes;
    }
}

// A line longer than the analysis' buffer shows as the pieces the analysis
// reads, so that shown line n is the analysis' line n whatever the lengths.
TEST(TextDecoding, ShowsOverlongLinesInThePiecesTheAnalysisReads)
{
    const std::string piece(kLineBufferSize - 1, 'x');
    for (const std::string& bytes :
         {piece.substr(1) + "\n", piece + "\n", piece + "y", piece + piece + "\nz\n",
          "a\n" + piece + piece + piece, "a\n" + piece + "\n\nb\n"}) {
        QStringList read;
        LineReader reader(bytes);
        for (std::string line; reader.readLine(line);)
            read << QString::fromLatin1(line.data(), int(line.size())).remove(QLatin1Char('\n'));
        QStringList shown = decodeRfcText(bytes).text.split(QLatin1Char('\n'));
        if (bytes.back() == '\n')
            shown.removeLast(); // the empty line after the final line end
        EXPECT_EQ(shown, read) << bytes.size();
    }
    EXPECT_TRUE(splitOverlongLines("short\nlines\n").empty()) << "nothing copied for an ordinary file";
}

TEST(TextDecoding, ByteColumnsBecomeCharacterColumnsOfTheShownLine)
{
    const struct {
        std::string bytes;
        int byteColumn;
        int charColumn;
    } cases[] = {
        {"J\xC3\xBCrgen [RFC2119]\n", 8, 7}, // two bytes, one character
        {"J\xC3\xBCrgen [RFC2119]\n", 17, 16},
        {"J\xFCrgen [RFC2119]\n", 7, 7}, // a byte-for-byte line keeps its columns
        {"\xC3\xA9\r [1]", 4, 3}, // a CR inside a line is one byte, one character
        {"\xF0\x9F\x98\x80[x]", 4, 2}, // four UTF-8 bytes, two UTF-16 units
        {"abc", 99, 3},
        {"\xFF"
         "bc",
         99, 3},
        {"abc", -1, 0},
    };
    for (const auto& c : cases) {
        const DecodedText decoded = decodeRfcText(c.bytes);
        EXPECT_EQ(byteColumnToCharColumn(decoded.text, c.byteColumn, !decoded.latin1Lines.empty()),
                  c.charColumn)
            << c.bytes;
    }
}

} // namespace parchly
