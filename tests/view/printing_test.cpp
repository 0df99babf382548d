// Printing: an RFC page on each sheet in one font that fits the longest page
// and the widest line, texts without form feeds cut into full sheets, the
// Print command writing those sheets, and the screen colours on request.
#include "analysis/line_reader.h"
#include "platform/char_format.h"
#include "platform/text_decoding.h"
#include "settings/command_ids.h"
#include "settings/settings.h"
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

std::vector<int> rowsPerSheet(const SheetLayout& layout)
{
    std::vector<int> rows;
    for (const auto& sheet : layout.sheets)
        rows.push_back(int(sheet.size()));
    return rows;
}

TEST(SheetLayoutTest, PagesFallOnSheetsInOneFontThatFitsTheLongestPageAndWidestLine)
{
    const QString formFeed = QStringLiteral("\f");
    struct Case {
        const char* what;
        QStringList lines;
        std::vector<int> rows; // on each sheet
        qreal pointSize;
        PrintRow firstOfLastSheet;
    };
    const Case cases[] = {
        {"a form feed line ends each page; the longest page sets the size",
         filler(10) << formFeed << filler(60) << formFeed << filler(5),
         {10, 60, 5},
         10,
         {72, 0, 10}},
        {"a form feed before the header moves it to the next sheet",
         filler(3) << QStringLiteral("  \fRFC 1") << filler(2),
         {3, 3},
         720 / (56 * 1.2),
         {3, 3, 5}},
        {"a blank last page and pages without lines print no sheet",
         filler(2) << formFeed << formFeed << filler(2) << formFeed << QString() << QStringLiteral("  "),
         {2, 2},
         720 / (56 * 1.2),
         {4, 0, 10}},
        {"the widest line sets the size; trailing blanks do not count",
         filler(5, 90) << formFeed << filler(3, 20) + QStringList(QString(200, QLatin1Char(' '))),
         {5, 4},
         10,
         {6, 0, 20}},
        {"without form feeds the text fills whole sheets",
         filler(130),
         {56, 56, 18},
         720 / (56 * 1.2),
         {112, 0, 10}},
        {"a wide text without form feeds gets more rows on a sheet",
         filler(130, 100),
         {66, 64},
         9,
         {66, 0, 100}},
        {"a page beyond the smallest size runs on; a long line wraps",
         QStringList(formFeed) << filler(148) << QString(500, QLatin1Char('y')) << filler(52),
         {150, 53},
         kMinPrintPointSize,
         {149, 450, 50}},
        {"an empty text prints nothing", QStringList(), {}, 720 / (56 * 1.2), {}},
    };
    for (const Case& c : cases) {
        const SheetLayout layout = layOutSheets(c.lines, kArea, kShape);
        EXPECT_EQ(rowsPerSheet(layout), c.rows) << c.what;
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
    std::string bytes;
    EXPECT_TRUE(readTextModeFile(path.string(), bytes));
    QStringList lines = decodeRfcText(bytes).text.split(QLatin1Char('\n'));
    lines.removeLast();
    return lines;
}

TEST(SheetLayoutTest, RealRfcsPrintOneSheetPerPage)
{
    PARCHLY_REQUIRE_CORPUS_FILE(rfc959, "rfc959.txt");
    PARCHLY_REQUIRE_CORPUS_FILE(rfc2616, "rfc2616.txt");
    PARCHLY_REQUIRE_CORPUS_FILE(rfc9110, "rfc9110.txt");
    EXPECT_EQ(layOutSheets(corpusLines(rfc959), kArea, kShape).sheets.size(), 69u);
    EXPECT_EQ(layOutSheets(corpusLines(rfc2616), kArea, kShape).sheets.size(), 176u);
    // A modern RFC fills every sheet but the last.
    const SheetLayout modern = layOutSheets(corpusLines(rfc9110), kArea, kShape);
    ASSERT_GT(modern.sheets.size(), 100u);
    for (size_t sheet = 0; sheet + 1 < modern.sheets.size(); ++sheet)
        ASSERT_EQ(int(modern.sheets[sheet].size()), modern.rowsPerSheet) << sheet;
}

// The number of pages in a PDF file: its page objects.
int pdfPages(const std::string& path)
{
    const QByteArray bytes = QByteArray::fromStdString(test::readFile(path));
    return int(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

class PrintCommandTest : public test::ReadingFixture {
protected:
    // Prints the active document through the Print command into `name`.
    std::string printTo(const std::string& name)
    {
        const std::string path = pdfFolder.file(name);
        QPrinter& printer = applicationPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        EXPECT_TRUE(app->mainWindow()->routeCommand(kCmdPrint));
        return path;
    }

    test::TempFolder pdfFolder;
};

TEST_F(PrintCommandTest, PrintWritesEveryPageOfTheFileWhateverTheViewHides)
{
    makeApp();
    ReadingView* view = open(copyReading(QStringLiteral("rfc9991.txt"), QStringLiteral("rfc9991.txt")));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(test::readFile(printTo("cancelled.pdf")), "") << "the print dialog was cancelled";

    dialogs.acceptPrinting = true;
    EXPECT_EQ(pdfPages(printTo("shown.pdf")), 3);
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdHeaders));
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdFooters));
    EXPECT_EQ(pdfPages(printTo("hidden.pdf")), 3);

    // Black on white, unless the screen colours are asked for: then hidden
    // headers print in the headers' colour and shown lines as they are shown.
    PrintedText plain = printedTextOf(*view, app->settings());
    EXPECT_EQ(plain.lines.size(), 92);
    EXPECT_TRUE(plain.colours.empty());
    EXPECT_FALSE(plain.paper.isValid());
    app->settings().PrintScreenColours = true;
    const PrintedText coloured = printedTextOf(*view, app->settings());
    EXPECT_EQ(coloured.lines, plain.lines);
    EXPECT_EQ(coloured.paper, view->palette().color(QPalette::Base));
    // The colour of the line's first character that is not blank.
    const auto colourOf = [&](int line) {
        const int first = int(coloured.lines.at(line).indexOf(QRegularExpression("\\S")));
        for (const auto& run : coloured.colours.at(line)) {
            if (run.start <= first && first < run.start + run.length)
                return run.format.foreground().color();
        }
        return QColor();
    };
    const auto formatColour = [&](int category) {
        return toCharFormat(app->settings().Formats[category]).foreground().color();
    };
    ASSERT_NE(formatColour(kFormatHeadersFooters), formatColour(kFormatTitle));
    const int header = int(coloured.lines.indexOf(QRegularExpression("RFC 9991 .*")));
    const int title = int(coloured.lines.indexOf(QRegularExpression(" *The Parchly Link Protocol")));
    ASSERT_TRUE(header >= 0 && title >= 0);
    EXPECT_EQ(colourOf(header), formatColour(kFormatHeadersFooters));
    EXPECT_EQ(colourOf(title), formatColour(kFormatTitle));
    EXPECT_EQ(pdfPages(printTo("coloured.pdf")), 3);

    // Drawn at 100 dots an inch on a Letter sheet: black on white shows no
    // colour at all, the screen colours show the title's; nothing is drawn
    // outside the printable area.
    const auto coloursDrawn = [](const PrintedText& text) {
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
        int inked = 0;
        for (int y = 0; y < sheet.height(); ++y) {
            for (int x = 0; x < sheet.width(); ++x) {
                const QRgb pixel = sheet.pixel(x, y);
                coloured += qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel);
                if (pixel != qRgb(255, 255, 255))
                    inked += area.contains(x, y) ? 1 : 1000000;
            }
        }
        EXPECT_GT(inked, 0);
        EXPECT_LT(inked, 1000000) << "ink outside the printable area";
        return coloured;
    };
    EXPECT_EQ(coloursDrawn(plain), 0);
    EXPECT_GT(coloursDrawn(coloured), 0);

    // Preview draws the same sheets.
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdPrintPreview));
    ASSERT_TRUE(dialogs.previewPainter);
    QPrinter preview(QPrinter::HighResolution);
    preview.setOutputFormat(QPrinter::PdfFormat);
    preview.setOutputFileName(QString::fromStdString(pdfFolder.file("preview.pdf")));
    dialogs.previewPainter(&preview);
    EXPECT_EQ(pdfPages(pdfFolder.file("preview.pdf")), 3);
}

} // namespace
} // namespace parchly
