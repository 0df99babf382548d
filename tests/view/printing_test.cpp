// Printing: an RFC page on each sheet in one font that fits the longest page
// and the widest line, texts without form feeds cut into full sheets, the
// Print command writing those sheets, and the screen colours on request.
#include "platform/char_format.h"
#include "support/corpus.h"
#include "support/temp_folder.h"
#include "view/printing.h"
#include "view/reading_fixture.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
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

TEST(SheetLayoutTest, PagesFallOnSheetsInOneFontThatFitsTheLongestPageAndWidestLine)
{
    const QString formFeed = QStringLiteral("\f");
    const qreal fitRows = 720 / (56 * 1.2); // the size that fits an RFC page of 56 lines
    struct Case {
        const char* what;
        std::vector<int> rows; // on each sheet
        qreal pointSize;
        PrintRow firstOfLastSheet;
        QStringList lines;
    };
    // clang-format off
    const Case cases[] = {
        {"a form feed line ends each page; the longest page sets the size", {10, 60, 5}, 10, {72, 0, 10},
         filler(10) << formFeed << filler(60) << formFeed << filler(5)},
        {"a form feed before the header moves it to the next sheet", {3, 3}, fitRows, {3, 3, 5},
         filler(3) << QStringLiteral("  \fRFC 1") << filler(2)},
        {"a blank last page and pages without lines print no sheet", {2, 2}, fitRows, {4, 0, 10},
         filler(2) << formFeed << formFeed << filler(2) << formFeed << QString() << QStringLiteral("  ")},
        {"the widest line sets the size; trailing blanks do not count", {5, 4}, 10, {6, 0, 0},
         filler(5, 90) << formFeed << QString(200, QLatin1Char(' ')) << filler(3, 20)},
        {"without form feeds the text fills whole sheets; its last blank lines print nothing", {56, 56, 18},
         fitRows, {112, 0, 10}, filler(130) << QString() << QStringLiteral("  ")},
        {"a wide text without form feeds gets more rows on a sheet", {66, 64}, 9, {66, 0, 100},
         filler(130, 100)},
        {"a page beyond the smallest size runs on; a long line wraps", {150, 53}, kMinPrintPointSize,
         {149, 450, 50}, QStringList(formFeed) << filler(148) << QString(500, QLatin1Char('y')) << filler(52)},
        {"an empty text prints nothing", {}, fitRows, {}, QStringList()},
    };
    // clang-format on
    for (const Case& c : cases) {
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

// The number of pages in a PDF file: its page objects.
int pdfPages(const std::string& path)
{
    const QByteArray bytes = QByteArray::fromStdString(test::readFile(path));
    return int(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

using PrintCommandTest = test::ReadingFixture;

// The pixels of the first sheet of `text` drawn at 100 dots an inch on a
// Letter sheet that are not grey; every pixel outside the printable area
// must stay white.
int colouredPixels(const PrintedText& text)
{
    QImage sheet(850, 1100, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    sheet.setDotsPerMeterX(3937);
    sheet.setDotsPerMeterY(3937);
    const QRect area(50, 50, 750, 1000);
    const PrintJob job = preparePrint(text, &sheet, area.size());
    {
        QPainter painter(&sheet);
        painter.translate(area.topLeft());
        paintSheet(painter, text, job, 0, QRectF(-area.topLeft(), sheet.size()));
    }
    int coloured = 0;
    int inkOutside = 0;
    for (int y = 0; y < sheet.height(); ++y) {
        for (int x = 0; x < sheet.width(); ++x) {
            const QRgb pixel = sheet.pixel(x, y);
            coloured += qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel);
            inkOutside += pixel != qRgb(255, 255, 255) && !area.contains(x, y);
        }
    }
    EXPECT_EQ(inkOutside, 0);
    return coloured;
}

TEST_F(PrintCommandTest, PrintWritesEveryPageOfTheFileWhateverTheViewHides)
{
    makeApp();
    ReadingView* view = open(copyReading(QStringLiteral("rfc9991.txt"), QStringLiteral("rfc9991.txt")));
    ASSERT_NE(view, nullptr);
    // The sheets the Print command, or the painter handed to the preview,
    // writes into a PDF file.
    int printouts = 0;
    const auto printedSheets = [&](int command = kCmdPrint) {
        const QString path = pathOf(QStringLiteral("%1.pdf").arg(++printouts));
        QPrinter& printer = sessionPrinter(app->mainWindow()->readingSession());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        EXPECT_TRUE(app->mainWindow()->routeCommand(command));
        if (command == kCmdPrintPreview && dialogs.previewPainter)
            dialogs.previewPainter(&printer);
        return pdfPages(path.toStdString());
    };
    EXPECT_EQ(printedSheets(), 0) << "the print dialog was cancelled";
    dialogs.acceptPrinting = true;
    EXPECT_EQ(printedSheets(), 3);
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdHeaders));
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdFooters));
    EXPECT_EQ(printedSheets(), 3);
    EXPECT_EQ(printedSheets(kCmdPrintPreview), 3);

    // Black on white, unless the screen colours are asked for: then the
    // hidden headers print in the headers' colour, shown lines as shown.
    const PrintedText plain = printedTextOf(*view, app->settings());
    EXPECT_EQ(plain.lines.size(), 92);
    EXPECT_EQ(colouredPixels(plain), 0);
    app->settings().PrintScreenColours = true;
    const PrintedText coloured = printedTextOf(*view, app->settings());
    EXPECT_EQ(coloured.lines, plain.lines);
    EXPECT_GT(colouredPixels(coloured), 0);
    // The colour of the first character that is not blank of the line matching `pattern`.
    const auto colourOf = [&](const char* pattern) {
        const int line = int(coloured.lines.indexOf(QRegularExpression(pattern)));
        const int first = int(coloured.lines.value(line).indexOf(QRegularExpression("\\S")));
        for (const auto& run : line >= 0 ? coloured.colours.at(line) : QVector<QTextLayout::FormatRange>()) {
            if (run.start <= first && first < run.start + run.length)
                return run.format.foreground().color();
        }
        return QColor();
    };
    const auto formatColour = [&](int category) {
        return toCharFormat(app->settings().Formats[category]).foreground().color();
    };
    ASSERT_NE(formatColour(kFormatHeadersFooters), formatColour(kFormatTitle));
    EXPECT_EQ(colourOf("RFC 9991 .*"), formatColour(kFormatHeadersFooters));
    EXPECT_EQ(colourOf(" *The Parchly Link Protocol"), formatColour(kFormatTitle));
}

} // namespace
} // namespace parchly
