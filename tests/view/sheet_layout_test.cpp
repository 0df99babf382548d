// The sheet layout of printing: an RFC page on each sheet in one font that
// fits the longest page and the widest line, texts without form feeds cut
// into full sheets.
#include "support/corpus.h"
#include "view/printing.h"
#include "view/view_fixture.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

// A printable area in points: 7.5 by 10 inches, and a font whose
// characters are 0.6 and whose lines 1.2 of its size.
const QSizeF kArea(540, 720);
const PrintFontShape kShape;

// `count` lines of `width` characters.
QStringList filler(int count, int width = 10)
{
    return QStringList(count, QString(width, QLatin1Char('x')));
}

const QString kFormFeed = QStringLiteral("\f");

// The size that fits an RFC page of 56 lines.
const qreal kFitRows = 720 / (56 * 1.2);

struct SheetCase {
    const char* what;
    std::vector<int> rows; // on each sheet
    qreal pointSize;
    PrintRow firstOfLastSheet;
    QStringList lines;
};
// clang-format off
const SheetCase kSheetCases[] = {
    {"a form feed line ends each page; the longest page sets the size", {10, 60, 5}, 10, {72, 0, 10},
     filler(10) << kFormFeed << filler(60) << kFormFeed << filler(5)},
    {"a form feed before the header moves it to the next sheet", {3, 3}, kFitRows, {3, 3, 5},
     filler(3) << QStringLiteral("  \fRFC 1") << filler(2)},
    {"a blank last page and pages without lines print no sheet", {2, 2}, kFitRows, {4, 0, 10},
     filler(2) << kFormFeed << kFormFeed << filler(2) << kFormFeed << QString() << QStringLiteral("  ")},
    {"the widest line sets the size; trailing blanks do not count", {5, 4}, 10, {6, 0, 0},
     filler(5, 90) << kFormFeed << QString(200, QLatin1Char(' ')) << filler(3, 20)},
    {"without form feeds the text fills whole sheets; its last blank lines print nothing", {56, 56, 18},
     kFitRows, {112, 0, 10}, filler(130) << QString() << QStringLiteral("  ")},
    {"a wide text without form feeds gets more rows on a sheet", {66, 64}, 9, {66, 0, 100},
     filler(130, 100)},
    {"a page beyond the smallest size runs on; a long line wraps", {150, 53}, kMinPrintPointSize,
     {149, 450, 50}, QStringList(kFormFeed) << filler(148) << QString(500, QLatin1Char('y')) << filler(52)},
    {"an empty text prints nothing", {}, kFitRows, {}, QStringList()},
};
// clang-format on

TEST(SheetLayoutTest, PagesFallOnSheetsInOneFontThatFitsTheLongestPageAndWidestLine)
{
    for (const SheetCase& c : kSheetCases) {
        const SheetLayout layout = layOutSheets(c.lines, kArea, kShape);
        std::vector<int> rows;
        for (const auto& sheet : layout.sheets)
            rows.push_back(int(sheet.size()));
        EXPECT_EQ(rows, c.rows) << c.what;
        EXPECT_NEAR(layout.pointSize, c.pointSize, 1e-9) << c.what;
        if (!layout.sheets.empty()) {
            EXPECT_EQ(layout.sheets.back().front(), c.firstOfLastSheet) << c.what;
        }
        // Nothing printed runs off the area.
        EXPECT_LE(layout.columns * layout.pointSize * kShape.advance, kArea.width() + 1e-6) << c.what;
        EXPECT_LE(layout.rowsPerSheet * layout.pointSize * kShape.lineSpacing, kArea.height() + 1e-6)
            << c.what;
        for (const auto& sheet : layout.sheets) {
            EXPECT_LE(int(sheet.size()), layout.rowsPerSheet) << c.what;
            for (const PrintRow& row : sheet)
                EXPECT_LE(row.length, layout.columns) << c.what;
        }
    }
}

QStringList corpusLines(const std::filesystem::path& path)
{
    QStringList lines =
        test::expectedShownText(QString::fromStdString(path.string())).split(QLatin1Char('\n'));
    lines.removeLast();
    return lines;
}

TEST(SheetLayoutTest, RealRfcsPrintOneSheetPerPage)
{
    PARCHLY_REQUIRE_CORPUS_FILE(rfc959, "rfc959.txt");
    PARCHLY_REQUIRE_CORPUS_FILE(rfc2616, "rfc2616.txt");
    // (A text without form feeds filling whole sheets is a row of the table above.)
    EXPECT_EQ(layOutSheets(corpusLines(rfc959), kArea, kShape).sheets.size(), 69u);
    EXPECT_EQ(layOutSheets(corpusLines(rfc2616), kArea, kShape).sheets.size(), 176u);
}

} // namespace
} // namespace parchly
