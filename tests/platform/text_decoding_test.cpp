#include "platform/text_decoding.h"

#include "analysis/line_reader.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace parchly {

TEST(TextDecoding, DecodesEachLineAsUtf8WhenValidAndByteForByteWhenNot)
{
    EXPECT_EQ(decodeRfcText("plain\nascii\n").text, QString("plain\nascii\n"));
    EXPECT_TRUE(decodeRfcText("plain\nascii\n").latin1Lines.empty());

    const DecodedText utf8 = decodeRfcText("caf\xC3\xA9 [1]\n");
    EXPECT_EQ(utf8.text, QString::fromUtf8("caf\xC3\xA9 [1]\n"));
    EXPECT_TRUE(utf8.latin1Lines.empty());

    // One bad line does not spoil its valid neighbours.
    const DecodedText mixed = decodeRfcText("G\xC3\xBCnther\nM\xFCller\n\xE2\x82\xAC\nM\xFCller");
    EXPECT_EQ(mixed.text,
              QString::fromUtf8("G\xC3\xBCnther\n") + QString::fromLatin1("M\xFCller\n")
                  + QString::fromUtf8("\xE2\x82\xAC\n") + QString::fromLatin1("M\xFCller"));
    EXPECT_EQ(mixed.latin1Lines, (std::vector<int32_t>{1, 3}));
}

TEST(TextDecoding, KeepsLinesWhereTheAnalysisHasThem)
{
    // A CR inside a line and the Unicode separators would split the line in
    // the control; the analysis sees one line.
    const QString shown = decodeRfcText("a\rb\nc\xE2\x80\xA8"
                                        "d\ne\xE2\x80\xA9"
                                        "f\n")
                              .text;
    EXPECT_EQ(shown.count(QLatin1Char('\n')), 3);
    EXPECT_FALSE(shown.contains(QLatin1Char('\r')));
    EXPECT_EQ(shown.section(QLatin1Char('\n'), 0, 0), QString("a") + QChar(kShownCarriageReturn) + "b");
    EXPECT_FALSE(shown.contains(QChar(QChar::LineSeparator)));
    EXPECT_FALSE(shown.contains(QChar(QChar::ParagraphSeparator)));
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
    struct Case {
        std::string bytes;
        int byteColumn;
        int charColumn;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        const DecodedText decoded = decodeRfcText(c.bytes);
        EXPECT_EQ(byteColumnToCharColumn(decoded.text, c.byteColumn, !decoded.latin1Lines.empty()),
                  c.charColumn)
            << c.bytes;
    }
    // The same shown characters from either encoding.
    EXPECT_EQ(decodeRfcText(cases[0].bytes).text, decodeRfcText(cases[2].bytes).text);
}

} // namespace parchly
