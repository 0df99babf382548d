// What the platform layer puts between a file's bytes and the text control:
// decoding line by line, line queries and edits, and the character formats.
#include "platform/char_format.h"
#include "platform/text_decoding.h"
#include "platform/text_view.h"
#include "platform/tree_images.h"

#include "analysis/line_reader.h"
#include "support/fixture_cases.h"

#include <QIcon>
#include <QTextDocument>
#include <cstring>
#include <gtest/gtest.h>

namespace parchly {

namespace {

TextFormat makeFormat(uint32_t mask, uint32_t effects, const char* face = "", int height = 0)
{
    TextFormat format{};
    format.size = sizeof(TextFormat);
    format.mask = mask;
    format.effects = effects;
    format.height = height;
    std::strncpy(format.faceName, face, sizeof format.faceName - 1);
    return format;
}

// A view holding `text`, streamed in pieces of 5 bytes as a file read would.
void streamIn(TextView& view, const std::string& text)
{
    size_t offset = 0;
    view.streamInPlainText([&]() {
        std::string chunk = text.substr(offset, 5);
        offset += chunk.size();
        return chunk;
    });
}

QTextCharFormat formatAt(TextView& view, int position)
{
    QTextCursor cursor(view.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

// "first\n\nthird line\nlast" streamed into a view.
class TextViewTest : public ::testing::Test {
protected:
    TextViewTest() { streamIn(view, "first\n\nthird line\nlast"); }

    // The view holding "one two three\n", all of it italic.
    void holdItalicWords()
    {
        view.setSelection(0, -1);
        view.replaceSelection("one two three\n");
        view.setSelection(0, -1);
        view.applyFormat(makeFormat(kMaskItalic, kEffectItalic));
    }

    TextView view;
};

// ---- Lines and edits ----

// A line's text ends in its line end (but the last), a line past the end
// has no start.
TEST_F(TextViewTest, AnswersLinesTheirTextsAndStarts)
{
    ASSERT_EQ(view.lineCount(), 4);
    EXPECT_EQ(QStringList({view.lineText(2), view.lineText(3)}), QStringList({"third line\n", "last"}));
    EXPECT_EQ(view.lineStart(2), 7);
    EXPECT_EQ(view.lineStart(4), -1);
    EXPECT_EQ(view.lineFromPosition(-5), 0);
}

TEST_F(TextViewTest, ASelectionToMinusOneRunsToTheEnd)
{
    view.setSelection(3, -1);
    EXPECT_EQ(view.selectedRange().end, view.document()->characterCount() - 1);
}

TEST_F(TextViewTest, EditsInABlockLeaveNoUndoRecord)
{
    {
        EditBlock block(view);
        view.setSelection(view.lineStart(1), view.lineStart(2));
        view.replaceSelection(QString());
        view.setSelection(0, 0);
        view.replaceSelection("---\n");
    }
    EXPECT_EQ(view.toPlainText(), QString("---\nfirst\nthird line\nlast"));
    EXPECT_FALSE(view.document()->isUndoAvailable());
}

// ---- Formats ----

TEST_F(TextViewTest, AFormatAppliesOnlyTheAttributesItsMaskNames)
{
    holdItalicWords();
    view.setSelection(4, 7);
    view.applyFormat(makeFormat(kMaskBold | kMaskUnderline, kEffectBold | kEffectUnderline));
    const QTextCharFormat two = formatAt(view, 4);
    EXPECT_TRUE(two.fontWeight() == QFont::Bold && two.fontUnderline());
    EXPECT_TRUE(two.fontItalic()) << "italic was outside the second mask";
    EXPECT_FALSE(formatAt(view, 0).fontUnderline() || formatAt(view, 0).fontWeight() == QFont::Bold);
}

TEST_F(TextViewTest, BoldNamedByTheMaskWithoutItsEffectIsTakenAway)
{
    holdItalicWords();
    view.setSelection(4, 7);
    view.applyFormat(makeFormat(kMaskBold, kEffectBold));
    view.applyFormat(makeFormat(kMaskBold, 0));
    EXPECT_NE(formatAt(view, 4).fontWeight(), int(QFont::Bold));
}

TEST_F(TextViewTest, SettingAFormatTakesEverythingElseAway)
{
    holdItalicWords();
    view.setSelection(4, 7);
    view.applyFormat(makeFormat(kMaskUnderline, kEffectUnderline));
    view.setSelection(0, -1);
    view.setSelectionFormat(toCharFormat(makeFormat(kMaskBold, kEffectBold)));
    EXPECT_FALSE(formatAt(view, 4).fontUnderline() || formatAt(view, 0).fontItalic());
    EXPECT_EQ(formatAt(view, 8).fontWeight(), int(QFont::Bold));
}

// A size in twentieths of a point, an unknown face replaced by a
// fixed-pitch one. (Colours, 0x00BBGGRR, and underlines are ViewTest's:
// each category has its own.)
TEST(CharFormat, SizesAreTwentiethsOfAPointAndAnUnknownFaceIsAFixedPitchOne)
{
    const QTextCharFormat format = toCharFormat(makeFormat(kMaskFace | kMaskSize, 0, "Fixedsys", 200));
    EXPECT_DOUBLE_EQ(format.fontPointSize(), 10.0);
    EXPECT_TRUE(format.fontFixedPitch());
    ASSERT_FALSE(format.fontFamilies().toStringList().isEmpty());
    EXPECT_NE(format.fontFamilies().toStringList().first(), QString("Fixedsys"));
}

TEST(CharFormat, AttributesOutsideTheMaskAreNotSet)
{
    const QTextCharFormat bare = toCharFormat(makeFormat(kMaskBold, kEffectBold));
    for (int property : {QTextFormat::FontFamilies, QTextFormat::FontPointSize, QTextFormat::ForegroundBrush,
                         QTextFormat::TextUnderlineStyle})
        EXPECT_FALSE(bare.hasProperty(property)) << property;
}

// The cache answers each format with its own conversion: formats that
// differ in any one field it reads never share one.
TEST(CharFormat, TheCacheAnswersEachFormatWithItsOwnConversion)
{
    const std::vector<TextFormat> formats = {
        makeFormat(kMaskBold, kEffectBold),
        makeFormat(kMaskBold, 0),
        makeFormat(kMaskFace | kMaskSize, 0, "Fixedsys", 200),
        makeFormat(kMaskFace | kMaskSize, 0, "Fixedsys", 240),
    };
    CharFormatCache cache;
    for (int round = 0; round < 2; ++round)
        for (const TextFormat& one : formats)
            EXPECT_EQ(cache.charFormat(one), toCharFormat(one)) << "round " << round;
}

// ---- Decoding ----

// Each line is UTF-8 when valid and byte for byte when not, one bad line not
// spoiling its neighbours; a CR inside a line and the Unicode separators
// would split the line in the control, where the analysis sees one line.
TEST(TextDecoding, DecodesEachLineAsUtf8OrByteForByte)
{
    for (const test::FixtureCase& c : test::readFixtureCases("platform/decoded-lines.txt")) {
        SCOPED_TRACE(c.title);
        const DecodedText decoded = decodeRfcText(c["bytes"]);
        EXPECT_EQ(decoded.text, QString::fromStdString(c["text"]));
        std::vector<std::string> byteLines;
        for (const int32_t line : decoded.latin1Lines)
            byteLines.push_back(std::to_string(line));
        EXPECT_EQ(byteLines, c.items("byte lines"));
    }
}

// A line longer than the analysis' buffer shows as the pieces the analysis
// reads, so that shown line n is the analysis' line n whatever the lengths.
TEST(TextDecoding, OverlongLinesShowAsThePiecesTheAnalysisReads)
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

// Byte columns become character columns of the shown line.
TEST(TextDecoding, ByteColumnsBecomeCharacterColumnsOfTheShownLine)
{
    for (const test::FixtureCase& c : test::readFixtureCases("platform/byte-columns.txt")) {
        SCOPED_TRACE(c.title);
        const DecodedText decoded = decodeRfcText(c["bytes"]);
        EXPECT_EQ(
            byteColumnToCharColumn(decoded.text, int(c.number("byte column")), !decoded.latin1Lines.empty()),
            c.number("char column"));
    }
}

// ---- Tree images ----

// Without a desktop theme the trees show the program's own pictures, a
// selected one apart from its normal one.
TEST(TreeImages, WithoutAThemeThePairsAreTheProgramsPictures)
{
    QIcon::setThemeName(QStringLiteral("no-such-theme"));
    const QList<QImage>& images = treeImages();
    ASSERT_EQ(images.size(), kTreeImageCount);
    for (const QImage& image : images)
        EXPECT_EQ(image.size(), QSize(kTreeImageSize, kTreeImageSize));
    for (int image : {kStructureImage, kIndexGroupImage, kPageImage})
        EXPECT_NE(images[image], images[image + 1]) << image;
}

} // namespace
} // namespace parchly
