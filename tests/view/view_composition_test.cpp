// The reading view applies the composition and the trees (checked as data in
// text_composition_test.cpp and tree_building_test.cpp) to the real text
// control and Navigator: formats, cuts, separators, reloads, tree items.
#include "view/view_fixture.h"
#include "view/page_separator.h"
#include "view/text_composition.h"

#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

namespace parchly {

using namespace parchly::test;

namespace {

// A colour of its own for each category up to the headers' (the title's is
// the Default's), bold and underline off, so that each can be told apart.
const QColor kColours[] = {QColor(0, 0, 0), QColor(0, 0, 0), QColor(0, 0, 200), QColor(200, 0, 0),
                           QColor(0, 150, 0)};

class ViewTest : public ::testing::Test {
protected:
    ViewTest()
        : opened(fixtureRfcPath())
    {
        for (int category = kFormatDefault; category <= kFormatHeadersFooters; ++category) {
            const QColor& colour = kColours[category];
            TextFormat format{};
            format.size = sizeof(TextFormat);
            format.mask = kMaskColour | kMaskUnderline | kMaskBold;
            format.colour = uint32_t(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
            options().setCategoryFormat(category, format);
        }
    }

    RfcSettings& options() { return opened.host.options; }
    const RfcText& text() { return opened.document.text(); }
    const ViewState& state() { return opened.document.viewState(); }
    TreeView& structure() { return *opened.host.structureTree; }
    TreeView& pages() { return *opened.host.pageTree; }

    ScriptedDialogs dialogs;
    OpenedView opened;
};

// The view shows the file's lines as the composition cuts them, each with
// its separator when they are shown (the line mapping of those lines is
// checked as data in text_composition_test.cpp).
void expectShownAsComposed(OpenedView& opened)
{
    const RfcText& text = opened.document.text();
    const ViewState& state = opened.document.viewState();
    QStringList expected = expectedShownText(fixtureRfcPath()).split(QLatin1Char('\n'));
    for (const LineRange& range : linesToCut(text, {}, state.cuts))
        expected.erase(expected.begin() + range.first, expected.begin() + range.end);
    if (state.pageSeparators) {
        for (const SeparatorPlace& place : separatorPlaces(text, state.cuts)) {
            ASSERT_LT(place.line, expected.size());
            expected[place.line].prepend(place.text);
        }
    }
    ASSERT_EQ(shownLines(*opened.view), expected);
    EXPECT_TRUE(opened.view->isReadOnly());
    EXPECT_FALSE(opened.view->document()->isModified() || opened.view->updatesFrozen());
}

// A tree's items in order, each as its depth in blanks, label and data.
QStringList items(TreeView& tree)
{
    QStringList result;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
        QString depth;
        for (QTreeWidgetItem* parent = (*it)->parent(); parent; parent = parent->parent())
            depth += QStringLiteral("  ");
        result << depth + tree.itemText(*it) + QLatin1Char(' ') + QString::number(tree.itemData(*it));
    }
    return result;
}

// File lines (0-based) of the fixture.
constexpr int kIntroductionHeading = 29;

} // namespace

struct CutStep {
    bool headers, footers, separators;
};

// Cuts in every order, separators on and off: the view always shows what
// the composition says, and the caret stays on its file line.
class CutOrderTest : public ViewTest, public ::testing::WithParamInterface<std::vector<CutStep>> {
protected:
    ReadingView& openWithCaretInTheIntroduction()
    {
        ReadingView& view = opened.open();
        const int start = view.lineStart(kIntroductionHeading);
        view.setSelection(start + 3, start + 3);
        return view;
    }
};

// ---- What the view shows ----

TEST_F(ViewTest, ShowsTheFileTextAsComposed)
{
    opened.open();
    expectShownAsComposed(opened);
}

// Every character a run covers has the colour and underline of the last
// run over it.
TEST_F(ViewTest, EachCharacterHasTheFormatOfTheLastRunOverIt)
{
    ReadingView& view = opened.open();
    ShownText shown;
    shown.text = shownLines(view).join(QLatin1Char('\n'));
    shown.latin1Lines = view.streamedLatin1Lines();
    const ComposedFormats formats = composeFormats(text(), state().cuts, shown, options());
    ASSERT_GT(formats.runs.size(), 20u);
    for (const FormatRun& run : formats.runs) {
        const FormatRun* last = &run;
        for (const FormatRun& later : formats.runs) {
            if (later.start <= run.start && run.start < later.end)
                last = &later;
        }
        const QTextCharFormat format = charFormatAt(view, run.start);
        EXPECT_EQ(format.foreground().color(), kColours[last->category]) << run.start;
        EXPECT_EQ(format.fontUnderline(), last->underline == Underline::Added) << run.start;
    }
}

// Clicks find an RFC number (here on the line after "RFC") by the line and
// columns the composition found it at.
TEST_F(ViewTest, AReferencesRfcNumberStandsWhereTheCompositionFoundIt)
{
    ReadingView& view = opened.open();
    const ReferenceEntry& reference = text().references[1];
    EXPECT_EQ(reference.linkLine, 57);
    EXPECT_EQ(view.lineText(57).mid(reference.linkStart, reference.linkEnd - reference.linkStart), "2616");
}

TEST_F(ViewTest, OnlyDefaultTextMakesEveryCharacterPlain)
{
    options().UseOnlyDefaultText = true;
    const QString all = opened.open().toPlainText();
    for (int position = 0; position < all.size(); ++position) {
        const QTextCharFormat format = charFormatAt(*opened.view, position);
        ASSERT_EQ(format.foreground().color(), kColours[kFormatDefault]) << position;
        ASSERT_FALSE(format.fontUnderline()) << position;
    }
}

// ---- The Navigator's trees ----

// The trees hold the structure, each item with its whole number, and the
// pages; at the first line no item is selected.
TEST_F(ViewTest, TheTreesHoldTheStructureAndThePagesWithIcons)
{
    opened.open();
    EXPECT_EQ(items(structure()),
              QStringList({"Status of This Memo 0", "Abstract 1", "Table of Contents 2",
                           "  1. Introduction 0", "    1.1. Purpose 1", "    1.2. Terms 2", "  2. Protocol 3",
                           "  3. References 4", "    [RFC2119] Key words for use in RFCs... 0",
                           "    [RFC2616] Hypertext Transfer... 1", "  Appendix A.  Examples 5"}));
    EXPECT_TRUE(structure().selectedItems().isEmpty()) << "the title page is in no section";
    EXPECT_EQ(items(pages()), QStringList({"Page 1 0", "Page 2 26", "Page 3 43"}));
    EXPECT_FALSE(structure().topLevelItem(0)->icon(0).isNull() || pages().topLevelItem(0)->icon(0).isNull());
}

// A collapsed section stands for its subsections; an expanded one shows the
// subsection itself; under the Page tab, the page.
TEST_F(ViewTest, TheCaretSelectsTheVisibleItemHoldingIt)
{
    ReadingView& view = opened.open();
    const int terms = view.lineStart(39) + 4;
    view.setSelection(terms, terms);
    opened.document.setCurrentLine(ShownLine::atIndex(39));
    TreeView::Item introduction = structure().currentItem();
    EXPECT_EQ(structure().itemText(introduction), QString("1. Introduction"));
    introduction->setExpanded(true);
    opened.document.setCurrentLine(ShownLine::atIndex(39));
    EXPECT_EQ(structure().itemText(structure().currentItem()), QString("1.2. Terms"));
    opened.host.tabs->selectTab(1);
    opened.document.setCurrentLine(ShownLine::atIndex(39));
    EXPECT_EQ(pages().itemText(pages().currentItem()), QString("Page 2"));
}

// ---- Cuts and separators ----

INSTANTIATE_TEST_SUITE_P(
    Orders, CutOrderTest,
    ::testing::Values(std::vector<CutStep>{{true, true, false}, {false, false, false}},
                      std::vector<CutStep>{
                          {true, false, true}, {true, true, true}, {false, true, true}, {false, true, false}},
                      std::vector<CutStep>{{false, false, true}, {true, true, true}, {true, false, false}}));

TEST_P(CutOrderTest, EachStepShowsTheComposedLinesAndACutKeepsTheSeparators)
{
    ReadingView& view = openWithCaretInTheIntroduction();
    for (const CutStep& step : GetParam()) {
        const bool separators = state().pageSeparators;
        view.rfcDocument()->cutHeadersAndFooters(step.headers, step.footers);
        EXPECT_EQ(state().pageSeparators, separators) << "a cut keeps the separators";
        expectShownAsComposed(opened);
        view.rfcDocument()->showPageSeparators(step.separators);
        view.rfcDocument()->showPageSeparators(step.separators); // twice: nothing more
        EXPECT_TRUE(state().cuts.headers == step.headers && state().cuts.footers == step.footers
                    && state().pageSeparators == step.separators);
        expectShownAsComposed(opened);
    }
    EXPECT_EQ(opened.host.tabs->count(), 3) << "a reload adds no Navigator tabs";
}

// The pane and the tree follow the caret that the frozen rebuild moved; no
// other test cuts with the caret inside a line.
TEST_P(CutOrderTest, TheCaretStaysOnItsFileLineAndThePaneAndTreeFollow)
{
    ReadingView& view = openWithCaretInTheIntroduction();
    for (const CutStep& step : GetParam()) {
        view.rfcDocument()->cutHeadersAndFooters(step.headers, step.footers);
        view.rfcDocument()->showPageSeparators(step.separators);
        const auto [line, column] = caretOf(view);
        EXPECT_TRUE(line == kIntroductionHeading && column == 0) << line << " " << column;
        EXPECT_EQ(opened.host.positionPane, QString("Ln %1, Col 1").arg(line + 1));
        EXPECT_EQ(structure().currentItem()->text(0), QString("1. Introduction"));
    }
}

TEST_F(ViewTest, PuttingEverythingBackGivesTheFirstComposition)
{
    ReadingView& view = opened.open();
    const QString composed = view.document()->toHtml();
    view.rfcDocument()->cutHeadersAndFooters(true, true);
    view.rfcDocument()->showPageSeparators(true);
    view.rfcDocument()->cutHeadersAndFooters(false, false);
    view.rfcDocument()->showPageSeparators(false);
    EXPECT_EQ(view.document()->toHtml(), composed);
}

// What the settings cut at load; the separator's page number is in the
// headers' format.
TEST_F(ViewTest, TheSettingsCutAtLoadAndShowSeparatorsInTheHeadersFormat)
{
    options().DisableHeaderAndFooterInAllFiles = true;
    options().ShowPageSeparator = true;
    ReadingView& view = opened.open();
    EXPECT_TRUE(state().cuts.headers && state().cuts.footers && state().pageSeparators);
    expectShownAsComposed(opened);
    const int separator = int(view.toPlainText().indexOf(pageSeparatorText(1)));
    EXPECT_EQ(charFormatAt(view, separator + 39).foreground().color(), kColours[kFormatHeadersFooters]);
}

} // namespace parchly
