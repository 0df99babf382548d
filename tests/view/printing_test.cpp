// Printing in the running program: the Print command writing the sheets
// (laid out as sheet_layout_test.cpp checks), and the screen colours on
// request.
#include "platform/char_format.h"
#include "support/temp_folder.h"
#include "view/printing.h"
#include "view/reading_fixture.h"

#include <QImage>
#include <QPainter>
#include <QFontMetricsF>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QRegularExpression>

namespace parchly {
namespace {

// The number of pages in a PDF file: its page objects.
int pdfPages(const std::string& path)
{
    const QByteArray bytes = QByteArray::fromStdString(test::readFile(path));
    return int(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

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

class PrintCommandTest : public test::ReadingFixture {
protected:
    void SetUp() override
    {
        atStart = AtStart::Started;
        ReadingFixture::SetUp();
        view = open(copyReading(QStringLiteral("rfc9991.txt"), QStringLiteral("rfc9991.txt")));
        ASSERT_NE(view, nullptr);
    }

    // The sheets the Print command, or the painter handed to the preview,
    // writes into a PDF file.
    int printedSheets(int command = kCmdPrint)
    {
        const QString path = pathOf(QStringLiteral("%1.pdf").arg(++printouts));
        QPrinter& printer = sessionPrinter(app->mainWindow()->readingSession());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        EXPECT_TRUE(app->mainWindow()->routeCommand(command));
        if (command == kCmdPrintPreview && dialogs.previewPainter)
            dialogs.previewPainter(&printer);
        return pdfPages(path.toStdString());
    }

    void hideHeadersAndFooters()
    {
        ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdHeaders));
        ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdFooters));
    }

    // The colour of the format of `category`.
    QColor formatColour(int category) const
    {
        return toCharFormat(app->settings().Formats[category]).foreground().color();
    }

    ReadingView* view = nullptr;
    int printouts = 0;
};

// The colour of the first character that is not blank of the line of
// `printed` matching `pattern`.
QColor colourOf(const PrintedText& printed, const char* pattern)
{
    const int line = int(printed.lines.indexOf(QRegularExpression(pattern)));
    const int first = int(printed.lines.value(line).indexOf(QRegularExpression("\\S")));
    for (const auto& run : line >= 0 ? printed.colours.at(line) : QVector<QTextLayout::FormatRange>()) {
        if (run.start <= first && first < run.start + run.length)
            return run.format.foreground().color();
    }
    return QColor();
}

TEST_F(PrintCommandTest, ACancelledPrintDialogPrintsNothing)
{
    EXPECT_EQ(printedSheets(), 0);
}

TEST_F(PrintCommandTest, PrintWritesEveryPageOfTheFileWhateverTheViewHides)
{
    dialogs.acceptPrinting = true;
    EXPECT_EQ(printedSheets(), 3);
    hideHeadersAndFooters();
    EXPECT_EQ(printedSheets(), 3);
    EXPECT_EQ(printedSheets(kCmdPrintPreview), 3);
}

TEST_F(PrintCommandTest, PrintsBlackOnWhiteUnlessTheScreenColoursAreAskedFor)
{
    hideHeadersAndFooters();
    const PrintedText plain = printedTextOf(*view, app->settings());
    EXPECT_EQ(plain.lines.size(), 92);
    EXPECT_EQ(colouredPixels(plain), 0);
    app->settings().PrintScreenColours = true;
    const PrintedText coloured = printedTextOf(*view, app->settings());
    EXPECT_EQ(coloured.lines, plain.lines);
    EXPECT_GT(colouredPixels(coloured), 0);
}

// With the screen colours the hidden headers print in the headers' colour,
// shown lines as shown.
TEST_F(PrintCommandTest, ScreenColoursPrintHiddenHeadersInTheHeadersColour)
{
    hideHeadersAndFooters();
    app->settings().PrintScreenColours = true;
    const PrintedText coloured = printedTextOf(*view, app->settings());
    ASSERT_NE(formatColour(kFormatHeadersFooters), formatColour(kFormatTitle));
    EXPECT_EQ(colourOf(coloured, "RFC 9991 .*"), formatColour(kFormatHeadersFooters));
    EXPECT_EQ(colourOf(coloured, " *The Parchly Link Protocol"), formatColour(kFormatTitle));
}

// ---- A text without pages ----

PrintedText unpagedRfc()
{
    PrintedText text;
    text.rfcName = QStringLiteral("RFC 9110");
    text.rfcTitle = QStringLiteral("HTTP Semantics");
    text.running = true;
    return text;
}

TEST(RunningLines, AnUnpagedRfcIsHeadedByItsNameAndTitleAndNumbersItsSheets)
{
    const RunningLines lines = runningLines(unpagedRfc(), 1, 3, 72);
    EXPECT_EQ(lines.header, QStringLiteral("RFC 9110") + QString(50, QLatin1Char(' ')) + "HTTP Semantics");
    EXPECT_EQ(lines.footer, QString(30, QLatin1Char(' ')) + "Page 2 of 3");
}

TEST(RunningLines, ALongTitleGivesWayToTheName)
{
    const RunningLines lines = runningLines(unpagedRfc(), 0, 1, 20);
    EXPECT_EQ(lines.header, QStringLiteral("RFC 9110  HTTP Seman"));
}

TEST(RunningLines, APagedRfcHasNone)
{
    PrintedText paged = unpagedRfc();
    paged.running = false;
    const RunningLines lines = runningLines(paged, 0, 1, 72);
    EXPECT_TRUE(lines.header.isEmpty() && lines.footer.isEmpty());
}

// An RFC as those since 8650 are: no form feeds, and long enough for three
// sheets.
class UnpagedPrintTest : public test::ReadingFixture {
protected:
    void SetUp() override
    {
        atStart = AtStart::Started;
        ReadingFixture::SetUp();
        std::string text = test::kModernRfc;
        for (int line = 1; line <= 150; ++line)
            text += "   Filler line " + std::to_string(line) + ".\n";
        test::writeFile(pathOf("rfc9998.txt").toStdString(), text);
        view = open(pathOf("rfc9998.txt"));
        ASSERT_NE(view, nullptr);
    }

    QPrinter& printer() { return sessionPrinter(app->mainWindow()->readingSession()); }

    ReadingView* view = nullptr;
};

TEST_F(UnpagedPrintTest, ThePrintedTextCarriesTheRunningHeader)
{
    const PrintedText text = printedTextOf(*view, app->settings());
    EXPECT_TRUE(text.running);
    EXPECT_EQ(text.rfcName, "RFC 9998");
    EXPECT_EQ(text.rfcTitle, "A Modern Test Protocol");
}

// Four rows of each sheet are the header's and the footer's.
TEST_F(UnpagedPrintTest, EverySheetLeavesRoomForTheHeaderAndFooter)
{
    QImage sheet(850, 1100, QImage::Format_RGB32);
    const QSizeF area(750, 1000);
    const PrintJob job = preparePrint(printedTextOf(*view, app->settings()), &sheet, area);
    const qreal rowHeight = QFontMetricsF(job.font, &sheet).lineSpacing();
    EXPECT_EQ(job.layout.sheets.size(), 3u);
    EXPECT_LE((job.layout.rowsPerSheet + 4) * rowHeight, area.height() + 1e-6);
}

TEST_F(UnpagedPrintTest, ThePdfIsTitledWithTheRfcsNameAndTitle)
{
    dialogs.acceptPrinting = true;
    printer().setOutputFileName(pathOf("printed.pdf"));
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdPrint));
    const QByteArray pdf = QByteArray::fromStdString(test::readFile(pathOf("printed.pdf").toStdString()));
    const QString title = QStringLiteral("RFC 9998: A Modern Test Protocol");
    QByteArray utf16;
    for (QChar c : title)
        utf16 += char(c.unicode() >> 8), utf16 += char(c.unicode() & 0xFF);
    EXPECT_TRUE(pdf.contains(utf16) || pdf.contains(title.toLatin1()));
}

// Without a printer the print is a PDF, named after the RFC in the
// documents folder unless the reader chose another file.
TEST_F(UnpagedPrintTest, APdfGoesToTheRfcsNameInTheDocumentsFolder)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is there";
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdPrint));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(printer().outputFileName(), QDir(documents).absoluteFilePath("rfc9998.pdf"));
}

TEST_F(UnpagedPrintTest, AFileTheReaderChoseStays)
{
    printer().setOutputFileName(pathOf("mine.pdf"));
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdPrint));
    EXPECT_EQ(printer().outputFileName(), pathOf("mine.pdf"));
}

} // namespace
} // namespace parchly
