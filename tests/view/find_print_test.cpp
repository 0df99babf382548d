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

const QString kText = QStringLiteral("alpha Beta alphabet\nbeta gamma Alpha\nend\n");

class FindTest : public ::testing::Test {
protected:
    void SetUp() override { view.setPlainText(kText); }

    QString selected() const { return view.textCursor().selectedText(); }
    int selectionStart() const { return view.textCursor().selectionStart(); }

    TextView view;
};

TEST_F(FindTest, FindsDownwardFromTheSelectionAndGoesRoundOnce)
{
    FindRequest request{"alpha"};
    ASSERT_TRUE(FindText(view, request));
    EXPECT_EQ(selectionStart(), 0);
    ASSERT_TRUE(FindText(view, request));
    EXPECT_EQ(selectionStart(), 11); // inside "alphabet"
    ASSERT_TRUE(FindText(view, request));
    EXPECT_EQ(selected(), "Alpha"); // case ignored
    ASSERT_TRUE(FindText(view, request));
    EXPECT_EQ(selectionStart(), 0); // round to the start
}

TEST_F(FindTest, WholeWordMatchCaseAndUpward)
{
    view.SetSelection(1, 1);
    ASSERT_TRUE(FindText(view, {"alpha", false, true, true}));
    EXPECT_EQ(selected(), "Alpha"); // "alphabet" is no whole word

    view.SetSelection(0, 0);
    ASSERT_TRUE(FindText(view, {"beta", true, false, true}));
    EXPECT_EQ(selectionStart(), kText.indexOf("beta gamma"));

    view.SetSelection(kText.indexOf("gamma"), kText.indexOf("gamma"));
    ASSERT_TRUE(FindText(view, {"alpha", false, false, false}));
    EXPECT_EQ(selectionStart(), 11);

    const int before = selectionStart();
    EXPECT_FALSE(FindText(view, {"omega"}));
    EXPECT_FALSE(FindText(view, {""}));
    EXPECT_EQ(selectionStart(), before);
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
        PrintText(view, &printer);
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
    EXPECT_DOUBLE_EQ(margins.left(), 0.5);
    EXPECT_DOUBLE_EQ(margins.top(), 0.5);
    EXPECT_DOUBLE_EQ(margins.right(), 0.5);
    EXPECT_DOUBLE_EQ(margins.bottom(), 0.5);

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

    PrintView(view); // cancelled
    EXPECT_EQ(dialogs.printDialogs, 1);
    EXPECT_TRUE(test::readFile(path).empty());

    dialogs.acceptPrinting = true;
    PrintView(view);
    EXPECT_EQ(pdfPages(path), 1);

    PrintPreviewView(view);
    ASSERT_EQ(dialogs.previews, 1);
    ASSERT_TRUE(dialogs.previewPainter);
    const std::string previewPath = folder.file("preview.pdf");
    QPrinter preview(QPrinter::HighResolution);
    preview.setOutputFormat(QPrinter::PdfFormat);
    preview.setOutputFileName(QString::fromStdString(previewPath));
    dialogs.previewPainter(&preview);
    EXPECT_EQ(pdfPages(previewPath), 1);

    PrintSetup(&view);
    EXPECT_EQ(dialogs.pageSetups, 1);
}

} // namespace
} // namespace parchly
