// Find over the shown text and printing it on pages with half-inch margins.
#include "platform/text_view.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "view/find.h"
#include "view/printing.h"

#include <QPrinter>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(FindTest, DownwardRoundOnceWholeWordMatchCaseAndUpward)
{
    const QString text = QStringLiteral("alpha Beta alphabet\nbeta gamma Alpha\nend\n");
    TextView view;
    view.setPlainText(text);
    const auto start = [&] { return view.textCursor().selectionStart(); };
    const auto from = [&](int position) { view.setSelection(position, position); };

    // Down from the selection, case ignored, then round to the start.
    for (int expected : {0, 11, int(text.indexOf("Alpha")), 0}) {
        ASSERT_TRUE(findText(view, FindRequest{"alpha"}));
        EXPECT_EQ(start(), expected);
    }
    from(1);
    ASSERT_TRUE(findText(view, {"alpha", false, true, true}));
    EXPECT_EQ(view.textCursor().selectedText(), "Alpha") << "\"alphabet\" is no whole word";
    from(0);
    ASSERT_TRUE(findText(view, {"beta", true, false, true}));
    EXPECT_EQ(start(), text.indexOf("beta gamma"));
    from(text.indexOf("gamma"));
    ASSERT_TRUE(findText(view, {"alpha", false, false, false}));
    EXPECT_EQ(start(), 11);

    EXPECT_FALSE(findText(view, {"omega"}));
    EXPECT_FALSE(findText(view, {""}));
    EXPECT_EQ(start(), 11);
}

// The number of pages in a PDF file.
int pdfPages(const std::string& path)
{
    const QByteArray bytes = QByteArray::fromStdString(test::readFile(path));
    return static_cast<int>(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

class PrintTest : public ::testing::Test {
protected:
    std::string printTo(const QString& text, const std::string& name)
    {
        view.setPlainText(text);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        const std::string path = folder.file(name);
        printer.setOutputFileName(QString::fromStdString(path));
        printText(view, &printer);
        margins = printer.pageLayout().margins(QPageLayout::Inch);
        return path;
    }

    test::TempFolder folder;
    TextView view;
    QMarginsF margins;
};

TEST_F(PrintTest, PagesFollowTheTextWithHalfInchMargins)
{
    EXPECT_EQ(pdfPages(printTo("One short line.\n", "short.pdf")), 1);
    EXPECT_EQ(margins, QMarginsF(0.5, 0.5, 0.5, 0.5));

    QString rfcPages;
    for (int line = 0; line < 300; ++line)
        rfcPages += QStringLiteral("Line %1 of a long text\n").arg(line);
    EXPECT_GE(pdfPages(printTo(rfcPages, "long.pdf")), 3);
}

TEST_F(PrintTest, PrintAndPreviewGoThroughTheirDialogs)
{
    test::ScriptedDialogs dialogs;
    view.setPlainText("Printed text\n");
    const std::string path = folder.file("printed.pdf");
    QPrinter& printer = applicationPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));

    printView(view); // cancelled
    EXPECT_EQ(dialogs.printDialogs, 1);
    EXPECT_TRUE(test::readFile(path).empty());

    dialogs.acceptPrinting = true;
    printView(view);
    EXPECT_EQ(pdfPages(path), 1);

    printPreviewView(view);
    ASSERT_EQ(dialogs.previews, 1);
    ASSERT_TRUE(dialogs.previewPainter);
    const std::string previewPath = folder.file("preview.pdf");
    QPrinter preview(QPrinter::HighResolution);
    preview.setOutputFormat(QPrinter::PdfFormat);
    preview.setOutputFileName(QString::fromStdString(previewPath));
    dialogs.previewPainter(&preview);
    EXPECT_EQ(pdfPages(previewPath), 1);

    printSetup(&view);
    EXPECT_EQ(dialogs.pageSetups, 1);
}

} // namespace
} // namespace parchly
