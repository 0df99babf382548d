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

TEST(TextDecoding, RejectsMalformedUtf8)
{
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x98\x80 ok"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF")); // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // a surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xE2\x82")); // cut short
    EXPECT_FALSE(isValidUtf8("\xA9")); // a lone continuation byte
}

TEST(TextDecoding, ByteColumnsBecomeCharacterColumnsOfTheShownLine)
{
    // "Jürgen [RFC2119]" in UTF-8: the bracket is byte 8, character 7.
    const std::string bytes = "J\xC3\xBCrgen [RFC2119]\n";
    const QString line = decodeRfcText(bytes).text;
    const int start = byteColumnToCharColumn(line, int(bytes.find('[')), false);
    const int end = byteColumnToCharColumn(line, int(bytes.find(']')) + 1, false);
    EXPECT_EQ(line.mid(start, end - start), QString("[RFC2119]"));

    // The same shown characters from a byte-for-byte line keep their columns.
    const std::string latinBytes = "J\xFCrgen [RFC2119]\n";
    const DecodedText latin = decodeRfcText(latinBytes);
    ASSERT_EQ(latin.text, line);
    ASSERT_EQ(latin.latin1Lines, std::vector<int32_t>{0});
    EXPECT_EQ(byteColumnToCharColumn(latin.text, int(latinBytes.find('[')), true), 7);

    // A CR inside a line is one byte, shown as one character.
    const std::string withCr = "\xC3\xA9\r [1]";
    EXPECT_EQ(byteColumnToCharColumn(decodeRfcText(withCr).text, int(withCr.find('[')), false), 3);

    // Four UTF-8 bytes are two UTF-16 units.
    const QString emoji = decodeRfcText("\xF0\x9F\x98\x80[x]").text;
    EXPECT_EQ(byteColumnToCharColumn(emoji, 4, false), 2);

    EXPECT_EQ(byteColumnToCharColumn("abc", 99, false), 3);
    EXPECT_EQ(byteColumnToCharColumn("abc", 99, true), 3);
    EXPECT_EQ(byteColumnToCharColumn("abc", -1, false), 0);
}

} // namespace parchly
