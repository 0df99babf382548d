// Printing in the running program: the Print command writing the sheets
// (laid out as sheet_layout_test.cpp checks), and the screen colours on
// request.
#include "platform/char_format.h"
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
        ReadingFixture::SetUp();
        makeApp();
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

} // namespace
} // namespace parchly
