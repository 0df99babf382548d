// The reading view applies the composition (text_composition_test.cpp checks
// it as data) to the real text control: formats, cuts, separators, reloads.
#include "analysis/line_mapping.h"
#include "reading_fixture.h"
#include "view/page_separator.h"
#include "view/text_composition.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    const RfcText& text() { return opened.document.text(); }
    const ViewState& state() { return opened.document.viewState(); }

    ScriptedDialogs dialogs;
    OpenedView opened;
};

// The view shows the file's lines as the composition cuts them, each with
// its separator when they are shown, and the mapping names them.
void expectShownAsComposed(OpenedView& opened)
{
    const RfcText& text = opened.document.text();
    const ViewState& state = opened.document.viewState();
    const QStringList file = expectedShownText(fixtureRfcPath()).split(QLatin1Char('\n'));
    QStringList expected = file;
    for (const LineRange& range : linesToCut(text, {}, state.cuts))
        expected.erase(expected.begin() + range.first, expected.begin() + range.end);
    if (state.pageSeparators) {
        for (const SeparatorPlace& place : separatorPlaces(text, state.cuts)) {
            ASSERT_LT(place.line, expected.size());
            expected[place.line].prepend(place.text);
        }
    }
    const QStringList shown = shownLines(*opened.view);
    ASSERT_EQ(shown, expected);
    for (int line = 0; line + 1 < shown.size(); ++line) {
        const int fileIndex = displayLineToFile(text, state.cuts, line + 1) - 1;
        ASSERT_TRUE(fileIndex >= 0 && fileIndex < file.size() && shown[line].endsWith(file[fileIndex]))
            << line;
        ASSERT_EQ(fileLineToDisplay(text, state.cuts, fileIndex + 1) - 1, line);
    }
    EXPECT_TRUE(opened.view->isReadOnly());
    EXPECT_FALSE(opened.view->document()->isModified() || opened.view->updatesFrozen());
}

// File lines (0-based) of the fixture.
constexpr int kIntroductionHeading = 29;

} // namespace

TEST_F(Composition, ShowsTheFileTextInTheFormatsOfItsCategories)
{
    ReadingView& view = opened.open();
    EXPECT_EQ(view.toPlainText(), expectedShownText(fixtureRfcPath()));
    expectShownAsComposed(opened);
    EXPECT_EQ(opened.host.documentTabs, QStringList{"rfc9990.txt"});
    EXPECT_EQ(opened.host.tabs->count(), 2);

    // Every character a run covers has the colour and underline of the last
    // run over it.
    ShownText shown;
    shown.text = shownLines(view).join(QLatin1Char('\n'));
    shown.latin1Lines = view.streamedLatin1Lines();
    const ComposedFormats formats = composeFormats(text(), state().cuts, shown, options());
    const QColor colours[] = {kDefaultColour, kDefaultColour, kContentsColour, kSubtitleColour, kMarksColour};
    ASSERT_GT(formats.runs.size(), 20u);
    for (const FormatRun& run : formats.runs) {
        const FormatRun* last = &run;
        for (const FormatRun& later : formats.runs) {
            if (later.start <= run.start && run.start < later.end)
                last = &later;
        }
        QTextCursor cursor(view.document());
        cursor.setPosition(run.start + 1);
        EXPECT_EQ(cursor.charFormat().foreground().color(), colours[last->category]) << run.start;
        EXPECT_EQ(cursor.charFormat().fontUnderline(), last->underline == Underline::Added) << run.start;
    }
    EXPECT_EQ(text().references[1].linkLine, 57) << "the view keeps where the RFC number stands";

    opened.view.reset();
    EXPECT_TRUE(opened.host.documentTabs.isEmpty()) << "a closed view takes its tab along";
}

TEST_F(Composition, OnlyDefaultTextLeavesEverythingPlainAndTurnsContentLinksOff)
{
    options().UseOnlyDefaultText = true;
    ReadingView& view = opened.open();
    const QString all = view.toPlainText();
    for (int position = 0; position < all.size(); ++position) {
        QTextCursor cursor(view.document());
        cursor.setPosition(position + 1);
        ASSERT_EQ(cursor.charFormat().foreground().color(), kDefaultColour) << position;
        ASSERT_FALSE(cursor.charFormat().fontUnderline()) << position;
    }
    EXPECT_TRUE(view.session().contentLinksOff);
}

// Cuts in every order, separators on and off, and what the settings cut at
// load: the view always shows what the composition says.
TEST_F(Composition, CutsAndSeparatorsInEveryOrderShowTheComposedLines)
{
    struct Step {
        bool headers, footers, separators;
    };
    const std::vector<Step> orders[] = {
        {{true, true, false}, {false, false, false}},
        {{true, false, true}, {true, true, true}, {false, true, true}, {false, true, false}},
        {{false, false, true}, {true, true, true}, {true, true, false}},
    };
    for (const std::vector<Step>& steps : orders) {
        OpenedView fresh(fixtureRfcPath());
        fresh.host.options = options();
        ReadingView& view = fresh.open();
        const QString composed = view.document()->toHtml();
        for (const Step& step : steps) {
            const bool separators = fresh.document.viewState().pageSeparators;
            view.setHeadersAndFootersCut(step.headers, step.footers);
            EXPECT_EQ(fresh.document.viewState().pageSeparators, separators) << "a cut keeps the separators";
            expectShownAsComposed(fresh);
            view.setPageSeparatorsShown(step.separators);
            view.setPageSeparatorsShown(step.separators); // twice: nothing more
            const ViewState& now = fresh.document.viewState();
            EXPECT_TRUE(now.cuts.headers == step.headers && now.cuts.footers == step.footers
                        && now.pageSeparators == step.separators);
            expectShownAsComposed(fresh);
        }
        if (!steps.back().headers && !steps.back().footers && !steps.back().separators) {
            EXPECT_EQ(view.document()->toHtml(), composed) << "putting them back gives the first composition";
        }
        EXPECT_EQ(fresh.host.tabs->count(), 2) << "a reload adds no Navigator tabs";
    }

    options().DisableHeaderAndFooterInAllFiles = true;
    options().ShowPageSeparator = true;
    ReadingView& view = opened.open();
    EXPECT_TRUE(state().cuts.headers && state().cuts.footers && state().pageSeparators);
    expectShownAsComposed(opened);
    const int separator = int(view.toPlainText().indexOf(pageSeparatorText(1)));
    QTextCursor cursor(view.document());
    cursor.setPosition(separator + 40);
    EXPECT_EQ(cursor.charFormat().foreground().color(), kMarksColour);
}

TEST_F(Composition, TheCaretStaysOnItsTextWhileLinesAreCut)
{
    ReadingView& view = opened.open();
    const int start = view.lineStart(kIntroductionHeading);
    view.setSelection(start, start);
    view.setHeadersAndFootersCut(true, true);
    int line = 0;
    int column = 0;
    view.caretLineColumn(line, column);
    EXPECT_EQ(line, kIntroductionHeading) << "the file's line, whatever is cut";
    EXPECT_EQ(column, 0);
    EXPECT_TRUE(
        view.lineText(view.lineFromPosition(view.selectedRange().end)).startsWith("1.  Introduction"));
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
    ReadingView& view = single.open();
    const QString before = view.toPlainText();
    view.setHeadersAndFootersCut(true, true);
    view.setPageSeparatorsShown(true);
    EXPECT_EQ(view.toPlainText(), before);
    EXPECT_EQ(single.host.pageTree->topLevelItemCount(), 0);
}

} // namespace parchly
