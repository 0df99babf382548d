// The errata markers as data: which characters each erratum tints, with and
// without the page headers and footers cut, what the status filter hides,
// and which erratum a character belongs to.
#include "analysis/analyse.h"
#include "analysis/errata_placement.h"
#include "settings/settings.h"
#include "view/errata_marks.h"
#include "view/text_composition.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace parchly {
namespace {

// The errata fixture: the first page's footer and the second's header
// at lines 29 and 31, a table at lines 44-49.
const char* const kFixture = PARCHLY_FIXTURES_DIR "/errata/rfc9999.txt";

class ErrataMarks : public testing::Test {
protected:
    void SetUp() override
    {
        bytes = test::readFile(kFixture);
        ASSERT_FALSE(bytes.empty());
        LineReader reader(bytes);
        analyseText(text, &reader, LimitsBlock(), AnalysisOptions());
        LineReader lines(bytes);
        for (std::string line; lines.readLine(line);) {
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.pop_back();
            fileLines << QString::fromUtf8(line.data(), int(line.size()));
        }
    }

    PlacedErratum placed(const char* id, const char* status, const char* type, int32_t first, int32_t last)
    {
        Erratum erratum;
        erratum.id = id;
        erratum.status = status;
        erratum.type = type;
        return {erratum, {first, last, PlacedBy::Text}};
    }

    // The shown text under `cuts`: the file's lines without those cut.
    QString shownUnder(const LineCuts& cuts) const
    {
        QStringList shown = fileLines;
        for (const LineRange& range : linesToCut(text, LineCuts(), cuts))
            shown.erase(shown.begin() + range.first, shown.begin() + range.end);
        return shown.join(QLatin1Char('\n'));
    }

    std::string bytes;
    RfcText text;
    QStringList fileLines;
    RfcSettings settings;
};

// The texts of the runs, in order.
QStringList runTexts(const QString& shown, const std::vector<ErratumRun>& runs)
{
    QStringList texts;
    for (const ErratumRun& run : runs)
        texts << shown.mid(run.start, run.end - run.start);
    return texts;
}

TEST_F(ErrataMarks, EachShownLineOfAnErratumIsTintedFromItsFirstToItsLastCharacter)
{
    const QString shown = shownUnder(LineCuts());
    const std::vector<ErratumRun> runs =
        composeErrataMarks(text, LineCuts(), shown, {placed("1", "Verified", "Editorial", 38, 39)}, settings);
    EXPECT_EQ(runTexts(shown, runs), QStringList({fileLines[38].trimmed(), fileLines[39].trimmed()}));
}

TEST_F(ErrataMarks, CutHeadersAndFootersCarryNoMarkAndTheLinesAfterThemKeepTheirs)
{
    const LineCuts cuts{true, true, true};
    const QString shown = shownUnder(cuts);
    const std::vector<ErratumRun> runs =
        composeErrataMarks(text, cuts, shown, {placed("1", "Verified", "Technical", 27, 34)}, settings);
    EXPECT_EQ(runTexts(shown, runs), QStringList({fileLines[27].trimmed(), fileLines[34].trimmed()}))
        << runTexts(shown, runs).join(QLatin1Char('|')).toStdString();
}

TEST_F(ErrataMarks, TheStatusFilterDecidesWhichErrataAreMarked)
{
    const QString shown = shownUnder(LineCuts());
    const std::vector<PlacedErratum> errata = {placed("1", "Verified", "Editorial", 23, 23),
                                               placed("2", "Held for Document Update", "Editorial", 24, 24),
                                               placed("3", "Reported", "Editorial", 25, 25),
                                               placed("4", "Rejected", "Editorial", 27, 27)};
    std::vector<int> marked;
    for (const ErratumRun& run : composeErrataMarks(text, LineCuts(), shown, errata, settings))
        marked.push_back(run.erratum);
    EXPECT_EQ(marked, std::vector<int>({0, 1}));

    settings.ErrataShowVerified = false;
    settings.ErrataShowReported = true;
    settings.ErrataShowRejected = true;
    marked.clear();
    for (const ErratumRun& run : composeErrataMarks(text, LineCuts(), shown, errata, settings))
        marked.push_back(run.erratum);
    EXPECT_EQ(marked, std::vector<int>({1, 2, 3}));
}

TEST_F(ErrataMarks, TechnicalErratumWinsWhereTwoMeet)
{
    const QString shown = shownUnder(LineCuts());
    const std::vector<PlacedErratum> errata = {placed("10", "Verified", "Technical", 38, 38),
                                               placed("11", "Verified", "Editorial", 38, 40)};
    const std::vector<ErratumRun> runs = composeErrataMarks(text, LineCuts(), shown, errata, settings);
    ASSERT_FALSE(runs.empty());
    EXPECT_FALSE(runs.front().technical) << "editorial runs come first, to be painted over";
    const int onBoth = shown.indexOf(QStringLiteral("A message is"));
    const int onlyEditorial = shown.indexOf(QStringLiteral("itself, so that"));
    EXPECT_EQ(erratumAtPosition(runs, onBoth), 0);
    EXPECT_EQ(erratumAtPosition(runs, onlyEditorial), 1);
    EXPECT_EQ(erratumAtPosition(runs, shown.indexOf(QStringLiteral("Message Order"))), -1);
}

TEST(ErratumToolTip, SaysStatusTypeAndCorrectedTextEscaped)
{
    Erratum erratum;
    erratum.id = "5678";
    erratum.status = "Verified";
    erratum.type = "Technical";
    erratum.correctedText = "if a < b && c\r\nthen";
    const QString tip = erratumToolTip(erratum);
    EXPECT_TRUE(tip.contains(QStringLiteral("Erratum 5678"))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("Verified, Technical"))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("if a &lt; b &amp;&amp; c\nthen"))) << tip.toStdString();
}

} // namespace
} // namespace parchly
