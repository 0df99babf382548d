// The composition as data: what a cut takes away agrees with the line
// mapping exactly, and the formats land on the right characters.
#include "analysis/analyse.h"
#include "analysis/line_mapping.h"
#include "analysis/line_reader.h"
#include "settings/formats.h"
#include "settings/settings.h"
#include "view/page_separator.h"
#include "view/text_composition.h"

#include "support/fixture_cases.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <functional>

namespace parchly {
namespace {

// The view tests' three-page RFC (see view_fixture.h).
const char* const kFixture = PARCHLY_FIXTURES_DIR "/view/rfc9990.txt";

struct Composed {
    RfcText text;
    QStringList lines;
    ShownText shown;
};

Composed compose(const std::string& bytes, const AnalysisOptions& options = {})
{
    Composed result;
    LineReader reader(bytes);
    analyseText(result.text, &reader, LimitsBlock(), options);
    LineReader lines(bytes);
    for (std::string line; lines.readLine(line);) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        result.lines << QString::fromUtf8(line.data(), int(line.size()));
    }
    result.shown.text = result.lines.join(QLatin1Char('\n'));
    return result;
}

// The category and underline of the last run over character `at`; -1 for none.
std::pair<int, Underline> formatAt(const ComposedFormats& formats, int at)
{
    std::pair<int, Underline> found{-1, Underline::AsConfigured};
    for (const FormatRun& run : formats.runs) {
        if (run.start <= at && at < run.end)
            found = {run.category, run.underline};
    }
    return found;
}

// The lines shown after cutting from `from` to `to`, as the view cuts them.
QStringList cut(QStringList lines, const RfcText& text, const LineCuts& from, const LineCuts& to)
{
    for (const LineRange& range : linesToCut(text, from, to))
        lines.erase(lines.begin() + range.first, lines.begin() + range.end);
    return lines;
}

// An input of the mapping checks: its bytes and the analysis options.
struct MappingInput {
    const char* name;
    std::string bytes;
    AnalysisOptions options;
};

std::vector<MappingInput> mappingInputs()
{
    AnalysisOptions keepSpaces;
    keepSpaces.disableSpacesNearHeaderAndFooter = false;
    // The fuzz finding starts with its options byte (references off).
    std::string shortPage =
        test::readFile(PARCHLY_SOURCE_DIR "/fuzz/regressions/analysis/line-mapping-short-page");
    shortPage.erase(0, 1);
    AnalysisOptions noReferences;
    noReferences.disableReferenceAnalysis = true;
    return {
        // The last page's footer once shifted the form feed after it by 2.
        {"last page footer", test::readFile(kFixture), {}},
        {"blank lines kept", test::readFile(kFixture), keepSpaces},
        // A page shorter than its header once mapped lines backwards.
        {"short page", shortPage, noReferences},
    };
}

// Runs `check` on each input under each of the seven cuts, with the file's
// lines and those shown.
void forEveryCut(const std::function<void(const RfcText&, const LineCuts&, const QStringList& file,
                                          const QStringList& shown)>& check)
{
    for (const MappingInput& input : mappingInputs()) {
        const Composed composed = compose(input.bytes, input.options);
        ASSERT_GT(composed.text.pageEnds.size(), 2u) << input.name;
        for (int state = 1; state < 8; ++state) {
            SCOPED_TRACE(std::string(input.name) + " state " + std::to_string(state));
            const LineCuts cuts{(state & 1) != 0, (state & 2) != 0, (state & 4) != 0};
            check(composed.text, cuts, composed.lines, cut(composed.lines, composed.text, {}, cuts));
        }
    }
}

TEST(TextComposition, ACutTakesAwayExactlyTheHiddenLines)
{
    forEveryCut(
        [](const RfcText& text, const LineCuts& cuts, const QStringList& file, const QStringList& shown) {
            int hidden = 0;
            for (const LineRange& range : hiddenLines(text, cuts))
                hidden += range.end - range.first;
            EXPECT_EQ(shown.size(), file.size() - hidden);
        });
}

TEST(TextComposition, EveryShownLineMapsToItsFileLineAndBack)
{
    forEveryCut(
        [](const RfcText& text, const LineCuts& cuts, const QStringList& file, const QStringList& shown) {
            for (int line = 0; line < shown.size(); ++line) {
                const FileLine fileLine = fileLineOf(text, cuts, ShownLine::atIndex(line));
                const int fileIndex = fileLine.index();
                ASSERT_TRUE(fileIndex >= 0 && fileIndex < file.size()) << " line " << line;
                ASSERT_EQ(shown[line], file[fileIndex]) << " line " << line;
                ASSERT_EQ(shownLineOf(text, cuts, fileLine).index(), line);
            }
        });
}

TEST(TextComposition, HeadersFirstAndFootersLaterCutTheSameLinesAsBothAtOnce)
{
    forEveryCut(
        [](const RfcText& text, const LineCuts& cuts, const QStringList& file, const QStringList& shown) {
            const LineCuts headers{cuts.headers, false, cuts.blankLines};
            EXPECT_EQ(cut(cut(file, text, {}, headers), text, headers, cuts), shown);
        });
}

TEST(TextComposition, EachSeparatorStandsOnItsFormFeed)
{
    forEveryCut([](const RfcText& text, const LineCuts& cuts, const QStringList&, const QStringList& shown) {
        for (const SeparatorPlace& place : separatorPlaces(text, cuts))
            EXPECT_TRUE(shown.value(place.line, "\f").startsWith(QLatin1Char('\f'))) << place.line;
    });
}

// Which lines each cut hides in the fixture: each footer with the blank line
// before it, each header with the two after it, the form feeds never.
TEST(TextComposition, CutsHideTheHeadersFootersAndTheirBlankLines)
{
    AnalysisOptions keepSpaces;
    keepSpaces.disableSpacesNearHeaderAndFooter = false;
    const std::string bytes = test::readFile(kFixture);
    using R = std::vector<LineRange>;
    struct Case {
        AnalysisOptions options;
        LineCuts cuts;
        R hidden;
    };
    const Case cases[] = {
        {{}, {true, true, true}, R{{23, 25}, {26, 29}, {40, 42}, {43, 46}, {62, 64}}},
        {keepSpaces, {true, false, false}, R{{26, 27}, {43, 44}}},
        {keepSpaces, {false, true, false}, R{{24, 25}, {41, 42}, {63, 64}}},
        {keepSpaces, {false, false, false}, R{}},
    };
    for (const Case& c : cases) {
        const RfcText text = compose(bytes, c.options).text;
        EXPECT_EQ(hiddenLines(text, c.cuts), c.hidden) << c.cuts.headers << c.cuts.footers;
    }
    EXPECT_EQ(shownPageEnds(compose(bytes).text, {true, true, true}), (std::vector<int32_t>{-1, 23, 35, 52}));
}

// Which characters of the fixture take which category, by shown line and
// column (the fixture's lines are listed in view_composition_test.cpp).
TEST(TextComposition, FormatsLandOnTheirCharacters)
{
    const Composed composed = compose(test::readFile(kFixture));
    RfcText lost = composed.text; // "1.2 Terms" lost its heading
    lost.contents[2].headingLine = 0;
    const auto at = [&](int line, const std::string& text, int offset) {
        const int start = line ? int(composed.lines.mid(0, line).join(QLatin1Char('\n')).size()) + 1 : 0;
        return start + int(composed.lines[line].indexOf(QString::fromStdString(text))) + offset;
    };
    const std::map<std::string, int> categories = {{"none", -1},
                                                   {"subtitles", kFormatSubtitles},
                                                   {"contents", kFormatContents},
                                                   {"headers and footers", kFormatHeadersFooters}};
    const std::map<std::string, Underline> underlines = {{"AsConfigured", Underline::AsConfigured},
                                                         {"Added", Underline::Added},
                                                         {"Untouched", Underline::Untouched}};
    const std::map<std::string, bool RfcSettings::*> switches = {
        {"DisableInvalidContentEntryLink", &RfcSettings::DisableInvalidContentEntryLink},
        {"DisableContentEntryLink", &RfcSettings::DisableContentEntryLink},
        {"DisableReferenceLink", &RfcSettings::DisableReferenceLink}};
    for (const test::FixtureCase& c : test::readFixtureCases("view/formats-on-characters.txt")) {
        SCOPED_TRACE(c.title);
        RfcSettings settings("./");
        const std::string& change = c["switch"];
        if (!change.empty())
            settings.*switches.at(change.substr(0, change.find('='))) = change.back() == '1';
        EXPECT_EQ(formatAt(composeFormats(lost, {}, composed.shown, settings),
                           at(int(c.number("line")), c["at"], int(c.number("offset")))),
                  std::make_pair(categories.at(c["category"]), underlines.at(c["underline"])));
    }
}

// Separators: 72 characters, the page number centred.
TEST(PageSeparator, Is72CharactersWithThePageNumberCentred)
{
    EXPECT_EQ(pageSeparatorText(10), QString(31, '-') + " Page 10 " + QString(32, '-'));
}

} // namespace
} // namespace parchly
