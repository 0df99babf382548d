#include "analysis/line_mapping.h"
#include "support/scripted_dialogs.h"
#include "view/page_separator.h"
#include "view_test_support.h"
#include "fake_view_host.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

namespace parchly {

using namespace parchly::test;

namespace {

class Composition : public ::testing::Test {
protected:
    Composition()
        : opened(fixtureRfcPath())
    {
        RfcSettings& options = opened.host.options;
        options.setCategoryFormat(kFormatDefault, colourOnly(0, 0, 0));
        options.setCategoryFormat(kFormatSubtitles, colourOnly(200, 0, 0));
        options.setCategoryFormat(kFormatContents, colourOnly(0, 0, 200));
        options.setCategoryFormat(kFormatHeadersFooters, colourOnly(0, 150, 0));
    }

    RfcSettings& options() { return opened.host.options; }
    ReadingView& view() { return *opened.view; }
    RfcText& text() { return opened.document.text(); }

    // The file's lines (0-based), without line ends.
    QStringList fileLines() const { return expectedShownText(fixtureRfcPath()).split(QLatin1Char('\n')); }

    QStringList fileLinesWithout(const std::set<int>& removed) const
    {
        const QStringList file = fileLines();
        QStringList kept;
        for (int line = 0; line < file.size(); ++line) {
            if (!removed.count(line))
                kept << file[line];
        }
        return kept;
    }

    // Every shown line is the file line that the mapping names for it. The
    // mappings round at a page boundary (they compare boundary indexes with
    // line numbers), so the form-feed lines and the lines just before them
    // are left out, and so is the empty line after the last line end, which
    // the file does not have.
    void expectMappingAgreesWithShownText()
    {
        const QStringList file = fileLines();
        const QStringList shown = shownLines(view());
        const auto nearBoundary = [&](int line) {
            return shown[line].contains(QLatin1Char('\f'))
                || (line + 1 < shown.size() && shown[line + 1].contains(QLatin1Char('\f')));
        };
        int checked = 0;
        const int lastLine = shown.last().isEmpty() ? int(shown.size()) - 1 : int(shown.size());
        for (int line = 0; line < lastLine; ++line) {
            if (nearBoundary(line))
                continue;
            const int fileIndex = displayLineToFile(text(), line + 1) - 1;
            ASSERT_GE(fileIndex, 0);
            ASSERT_LT(fileIndex, file.size());
            EXPECT_EQ(shown[line], file[fileIndex]) << "shown line " << line;
            EXPECT_EQ(fileLineToDisplay(text(), fileIndex + 1) - 1, line) << "shown line " << line;
            ++checked;
        }
        EXPECT_GT(checked, shown.size() - 8);
    }

    ScriptedDialogs dialogs;
    OpenedView opened;
};

// File lines (0-based) of the fixture's page furniture.
constexpr int kTitle = 5;
constexpr int kFirstFooter = 24;
constexpr int kFirstHeader = 26;
constexpr int kIntroductionHeading = 29;
constexpr int kSecondFooter = 41;
constexpr int kSecondHeader = 43;
constexpr int kThirdFooter = 63;

} // namespace

TEST_F(Composition, ShowsTheFileTextReadOnlyAndAddsItsTabs)
{
    ReadingView& shown = opened.open();
    EXPECT_EQ(shown.toPlainText(), expectedShownText(fixtureRfcPath()));
    EXPECT_TRUE(shown.isReadOnly());
    EXPECT_FALSE(shown.document()->isModified() || shown.updatesFrozen());
    EXPECT_EQ(opened.host.documentTabs, QStringList{"rfc9990.txt"});
    EXPECT_EQ(opened.host.tabs->count(), 2);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    opened.view.reset();
    EXPECT_TRUE(opened.host.documentTabs.isEmpty()) << "a closed view takes its tab along";
}

TEST_F(Composition, FormatsEachCategory)
{
    ReadingView& shown = opened.open();
    EXPECT_EQ(colourAt(shown, 0, 0), kDefaultColour);
    EXPECT_EQ(colourAt(shown, kTitle, 21), kSubtitleColour) << "the title is shown as a subtitle";
    EXPECT_EQ(colourAt(shown, 11, 0), kSubtitleColour) << "front heading Abstract";
    EXPECT_EQ(colourAt(shown, kIntroductionHeading, 4), kSubtitleColour) << "body heading";
    EXPECT_EQ(colourAt(shown, kFirstFooter, 0), kMarksColour);
    EXPECT_EQ(colourAt(shown, kSecondHeader, 10), kMarksColour);

    // A contents entry is a link from its first non-blank character on.
    EXPECT_EQ(colourAt(shown, 18, 5), kContentsColour);
    EXPECT_TRUE(underlinedAt(shown, 18, 5));
    EXPECT_FALSE(underlinedAt(shown, 18, 4));

    // Citations: exactly their brackets, also after non-ASCII characters.
    for (int line : {13, 35}) {
        const QString lineText = shown.lineText(line);
        const int open = int(lineText.indexOf(QLatin1Char('[')));
        const int close = int(lineText.indexOf(QLatin1Char(']')));
        EXPECT_FALSE(underlinedAt(shown, line, open - 1)) << line;
        EXPECT_TRUE(underlinedAt(shown, line, open)) << line;
        EXPECT_TRUE(underlinedAt(shown, line, close)) << line;
        EXPECT_FALSE(underlinedAt(shown, line, close + 1)) << line;
        EXPECT_EQ(colourAt(shown, line, open + 1), kContentsColour) << line;
    }

    // Reference labels are subtitles; the RFC numbers in them are links, the
    // second one on the line after its "RFC".
    EXPECT_EQ(colourAt(shown, 52, 3), kSubtitleColour);
    ASSERT_EQ(text().references.size(), 2u);
    const ReferenceEntry& second = text().references[1];
    EXPECT_EQ(second.linkLine, 57);
    EXPECT_EQ(shown.lineText(57).mid(second.linkStart, 4), QString("2616"));
    EXPECT_TRUE(underlinedAt(shown, 57, second.linkStart + 3));
    EXPECT_FALSE(underlinedAt(shown, 56, int(shown.lineText(56).indexOf("RFC"))));
}

TEST_F(Composition, LinkSettingsDecideWhatIsUnderlined)
{
    ReadingView& shown = opened.open();
    const int citationColumn = int(shown.lineText(13).indexOf(QLatin1Char('[')));
    options().DisableReferenceLink = true;
    text().contents[2].headingLine = 0; // "1.2 Terms" found no heading
    shown.formatRfcText();

    EXPECT_EQ(colourAt(shown, 13, citationColumn), kContentsColour);
    EXPECT_FALSE(underlinedAt(shown, 13, citationColumn)) << "citations are no links";
    const ReferenceEntry& reference = text().references[0];
    EXPECT_TRUE(underlinedAt(shown, reference.linkLine, reference.linkStart)) << "RFC numbers still are";
    EXPECT_EQ(colourAt(shown, 19, 8), kContentsColour);
    EXPECT_FALSE(underlinedAt(shown, 19, 8)) << "an invalid entry is no link";
    EXPECT_TRUE(underlinedAt(shown, 18, 8));

    options().DisableInvalidContentEntryLink = false;
    shown.formatRfcText();
    EXPECT_TRUE(underlinedAt(shown, 19, 8));
    options().DisableContentEntryLink = true;
    shown.formatRfcText();
    EXPECT_FALSE(underlinedAt(shown, 18, 8)) << "entries take the format as configured";
    EXPECT_FALSE(shown.document()->isModified());
}

TEST_F(Composition, SettingsCutAndSeparateAtLoad)
{
    options().DisableHeaderAndFooterInAllFiles = true;
    options().ShowPageSeparator = true;
    ReadingView& shown = opened.open();
    EXPECT_TRUE(text().hideHeaders && text().hideFooters && text().showPageSeparators);
    const QStringList lines = shownLines(shown);
    EXPECT_EQ(lines.filter("[Page ").size(), 0);
    EXPECT_EQ(lines.filter(QRegularExpression("^RFC 9990 ")).size(), 0);
    EXPECT_EQ(lines.filter(QRegularExpression("^-+ Page \\d -+\f$")).size(), 3);
    expectMappingAgreesWithShownText();
}

TEST_F(Composition, OnlyDefaultTextLeavesEverythingPlainAndTurnsContentLinksOff)
{
    options().UseOnlyDefaultText = true;
    options().ShowPageSeparator = true;
    ReadingView& shown = opened.open();
    const QStringList lines = shownLines(shown);
    for (int line = 0; line < lines.size(); ++line) {
        for (int column = 0; column < lines[line].size(); ++column) {
            ASSERT_EQ(colourAt(shown, line, column), kDefaultColour) << line << ":" << column;
            ASSERT_FALSE(underlinedAt(shown, line, column)) << line << ":" << column;
        }
    }
    EXPECT_TRUE(shown.session().contentLinksOff);
}

TEST_F(Composition, CuttingHeadersAndFootersRemovesExactlyThoseLinesAndTheirBlanks)
{
    ReadingView& shown = opened.open();
    const QString composed = shown.document()->toHtml();

    shown.setHeadersAndFootersCut(true, true);
    EXPECT_TRUE(text().hideHeaders && text().hideFooters && text().hideBlankLines);
    // Each footer with the blank before it, each header with the two blanks
    // after it.
    EXPECT_EQ(shownLines(shown),
              fileLinesWithout({kFirstFooter - 1, kFirstFooter, kFirstHeader, kFirstHeader + 1,
                                kFirstHeader + 2, kSecondFooter - 1, kSecondFooter, kSecondHeader,
                                kSecondHeader + 1, kSecondHeader + 2, kThirdFooter - 1, kThirdFooter}));
    expectMappingAgreesWithShownText();
    EXPECT_TRUE(shown.isReadOnly());
    EXPECT_FALSE(shown.document()->isModified() || shown.updatesFrozen());

    shown.setHeadersAndFootersCut(false, false);
    EXPECT_FALSE(text().hideHeaders || text().hideFooters);
    EXPECT_EQ(shown.document()->toHtml(), composed) << "putting them back gives the first composition";
}

TEST_F(Composition, HeadersAndFootersCanBeCutOneAfterTheOther)
{
    options().DisableSpacesNearHeaderAndFooter = false;
    ReadingView& shown = opened.open();
    shown.setHeadersAndFootersCut(true, false);
    EXPECT_EQ(shownLines(shown), fileLinesWithout({kFirstHeader, kSecondHeader}));
    expectMappingAgreesWithShownText();

    shown.setHeadersAndFootersCut(true, true);
    EXPECT_EQ(shownLines(shown),
              fileLinesWithout({kFirstHeader, kSecondHeader, kFirstFooter, kSecondFooter, kThirdFooter}));
    expectMappingAgreesWithShownText();

    shown.setHeadersAndFootersCut(false, true); // headers come back through a reload
    EXPECT_EQ(opened.host.tabs->count(), 2) << "a reload adds no Navigator tabs";
    EXPECT_EQ(shownLines(shown), fileLinesWithout({kFirstFooter, kSecondFooter, kThirdFooter}));
    expectMappingAgreesWithShownText();
}

TEST_F(Composition, TheCaretStaysOnItsTextWhileLinesAreCut)
{
    ReadingView& shown = opened.open();
    const int start = shown.lineStart(kIntroductionHeading);
    shown.setSelection(start, start);
    shown.setHeadersAndFootersCut(true, true);
    int line = 0;
    int column = 0;
    shown.caretLineColumn(line, column);
    EXPECT_EQ(line, kIntroductionHeading) << "the file's line, whatever is cut";
    EXPECT_EQ(column, 0);
    EXPECT_TRUE(
        shown.lineText(shown.lineFromPosition(shown.selectedRange().end)).startsWith("1.  Introduction"));
}

TEST_F(Composition, SeparatorsAreSeventyTwoCharactersOnEachBoundary)
{
    EXPECT_EQ(pageSeparatorText(10), QString(31, '-') + " Page 10 " + QString(32, '-'));
    EXPECT_EQ(pageSeparatorText(1).size(), 72);

    options().ShowPageSeparator = true;
    ReadingView& shown = opened.open();
    EXPECT_TRUE(text().showPageSeparators);
    const QStringList file = fileLines();
    QStringList expected = file;
    expected[kFirstFooter + 1] = pageSeparatorText(1) + file[kFirstFooter + 1];
    expected[kSecondFooter + 1] = pageSeparatorText(2) + file[kSecondFooter + 1];
    expected[kThirdFooter + 1] = pageSeparatorText(3) + file[kThirdFooter + 1];
    EXPECT_EQ(shownLines(shown), expected);
    EXPECT_TRUE(expected[kFirstFooter + 1].endsWith(QLatin1Char('\f')));
    EXPECT_EQ(colourAt(shown, kFirstFooter + 1, 40), kMarksColour);

    // With headers and footers cut the separators stand on the shown
    // boundaries, and they go away without taking any text along.
    shown.setHeadersAndFootersCut(true, true);
    const QStringList cut = shownLines(shown);
    EXPECT_EQ(cut.filter(QRegularExpression("^-+ Page \\d -+\f$")).size(), 3);
    shown.setPageSeparatorsShown(false);
    EXPECT_FALSE(text().showPageSeparators);
    expectMappingAgreesWithShownText();
    EXPECT_FALSE(shown.toPlainText().contains(" Page 1 "));

    shown.setPageSeparatorsShown(true);
    shown.setPageSeparatorsShown(true); // already shown: nothing more
    EXPECT_EQ(shownLines(shown).filter(" Page ").size(), 3);
}

TEST_F(Composition, AFileWithoutPageBreaksHasNothingToCut)
{
    QTemporaryDir folder;
    QFile file(folder.filePath("rfc9991.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Network Working Group                                  A. Author\n"
               "Request for Comments: 9991                             March 2024\n\n"
               "                       A Single Page\n\nAbstract\n\n   Nothing.\n");
    file.close();
    OpenedView single(file.fileName());
    ReadingView& shown = single.open();
    const QString before = shown.toPlainText();
    shown.setHeadersAndFootersCut(true, true);
    shown.setPageSeparatorsShown(true);
    EXPECT_EQ(shown.toPlainText(), before);
    EXPECT_EQ(single.host.pageTree->topLevelItemCount(), 0);
}

} // namespace parchly
