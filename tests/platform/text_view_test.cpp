#include "platform/char_format.h"
#include "platform/text_view.h"

#include <QTextBlock>
#include <QTextDocument>
#include <cstring>
#include <vector>
#include <gtest/gtest.h>

namespace parchly {

namespace {

TextFormat makeFormat(uint32_t mask, uint32_t effects, const char* face = "", int height = 0,
                      uint32_t colour = 0)
{
    TextFormat format{};
    format.size = sizeof(TextFormat);
    format.mask = mask;
    format.effects = effects;
    format.height = height;
    format.colour = colour;
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

} // namespace

// Line queries on top of the blocks: a line's text ends in its line end
// (but the last), a line past the end has no start. Edits in a block leave
// no undo record.
TEST(TextView, AnswersLineQueriesAndEditsWithoutUndo)
{
    TextView view;
    streamIn(view, "first\n\nthird line\nlast");
    ASSERT_EQ(view.lineCount(), 4);
    EXPECT_EQ(QStringList({view.lineText(2), view.lineText(3)}), QStringList({"third line\n", "last"}));
    EXPECT_EQ(view.lineStart(2), 7);
    EXPECT_EQ(view.lineStart(4), -1);
    EXPECT_EQ(view.lineFromPosition(-5), 0);

    view.setSelection(3, -1); // to the end
    EXPECT_EQ(view.selectedRange().end, view.document()->characterCount() - 1);
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

TEST(TextView, AppliesOnlyTheAttributesTheMaskNames)
{
    TextView view;
    streamIn(view, "one two three\n");
    view.setSelection(0, -1);
    view.applyFormat(makeFormat(kMaskItalic | kMaskColour, kEffectItalic, "", 0, 0x0000FF)); // red
    view.setSelection(4, 7);
    view.applyFormat(makeFormat(kMaskBold | kMaskUnderline, kEffectBold | kEffectUnderline));
    const QTextCharFormat two = formatAt(view, 4);
    EXPECT_TRUE(two.fontWeight() == QFont::Bold && two.fontUnderline());
    EXPECT_TRUE(two.fontItalic()) << "italic was outside the second mask";
    EXPECT_EQ(two.foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(formatAt(view, 0).fontUnderline() || formatAt(view, 0).fontWeight() == QFont::Bold);

    // Dropping underline from the mask leaves an underline in place.
    view.applyFormat(makeFormat(kMaskBold, 0));
    EXPECT_TRUE(formatAt(view, 4).fontUnderline());
    EXPECT_NE(formatAt(view, 4).fontWeight(), int(QFont::Bold));

    // Setting a format instead takes everything else away.
    view.setSelection(0, -1);
    view.setSelectionFormat(toCharFormat(makeFormat(kMaskBold, kEffectBold)));
    EXPECT_FALSE(formatAt(view, 4).fontUnderline() || formatAt(view, 0).fontItalic());
    EXPECT_EQ(formatAt(view, 8).fontWeight(), int(QFont::Bold));
}

// A size in twentieths of a point, a colour as 0x00BBGGRR, an unknown face
// replaced by a fixed-pitch one; the cache answers each format with its own
// conversion: formats that differ in any one field it reads never share one.
TEST(CharFormat, ConvertsSizeColourAndFaceAndTheCacheKeepsFormatsApart)
{
    const QTextCharFormat format =
        toCharFormat(makeFormat(kMaskFace | kMaskSize | kMaskColour, 0, "Fixedsys", 200, 0x00804020));
    EXPECT_DOUBLE_EQ(format.fontPointSize(), 10.0);
    EXPECT_EQ(format.foreground().color(), QColor(0x20, 0x40, 0x80));
    EXPECT_TRUE(format.fontFixedPitch());
    ASSERT_FALSE(format.fontFamilies().toStringList().isEmpty());
    EXPECT_NE(format.fontFamilies().toStringList().first(), QString("Fixedsys"));
    const QTextCharFormat bare = toCharFormat(makeFormat(kMaskBold, kEffectBold));
    for (int property : {QTextFormat::FontFamilies, QTextFormat::FontPointSize, QTextFormat::ForegroundBrush,
                         QTextFormat::TextUnderlineStyle})
        EXPECT_FALSE(bare.hasProperty(property)) << property;

    const std::vector<TextFormat> formats = {
        makeFormat(kMaskBold, kEffectBold),
        makeFormat(kMaskBold, 0),
        makeFormat(kMaskBold | kMaskUnderline, kEffectBold | kEffectUnderline),
        makeFormat(kMaskFace | kMaskSize, 0, "Fixedsys", 200),
        makeFormat(kMaskFace | kMaskSize, 0, "Fixedsys", 240),
        makeFormat(kMaskColour, 0, "", 0, 0x00804020),
        makeFormat(kMaskColour, 0, "", 0, 0x00000000),
    };
    CharFormatCache cache;
    for (int round = 0; round < 2; ++round)
        for (const TextFormat& one : formats)
            EXPECT_EQ(cache.charFormat(one), toCharFormat(one)) << "round " << round;
}

} // namespace parchly
