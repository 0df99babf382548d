// What Copy leaves on the clipboard from the reading view.
#include "reading_fixture.h"

#include <QClipboard>

namespace parchly {
namespace {

class CopyTest : public test::ReadingFixture {
protected:
    void SetUp() override
    {
        atStart = AtStart::Shown;
        ReadingFixture::SetUp();
        view = open(copyReading("rfc9991.txt", "rfc9991.txt"));
        ASSERT_NE(view, nullptr);
    }

    // Selects from the contents entry of "4.  References" on page 1 to the
    // heading "1.  Introduction" on page 2 and copies it.
    QString copyAcrossFirstPageBreak()
    {
        const int from = find(*view, "   4.  References");
        const int to = find(*view, "1.  Introduction", from) + 16;
        view->setSelection(from, to);
        app->mainWindow()->routeCommand(kCmdCopy);
        return QApplication::clipboard()->text();
    }

    ReadingView* view = nullptr;
};

TEST_F(CopyTest, CopyAcrossHiddenPageBreakHoldsNoFormFeed)
{
    app->mainWindow()->routeCommand(kCmdHeaders);
    app->mainWindow()->routeCommand(kCmdFooters);
    const QString copied = copyAcrossFirstPageBreak();
    EXPECT_FALSE(copied.contains(QLatin1Char('\f')));
    EXPECT_TRUE(copied.startsWith("   4.  References"));
    EXPECT_TRUE(copied.endsWith("\n\n1.  Introduction")) << copied.toStdString();
}

TEST_F(CopyTest, CopyOfShownPageBreakKeepsTheFileText)
{
    const QString copied = copyAcrossFirstPageBreak();
    EXPECT_TRUE(copied.contains(QStringLiteral("[Page 1]\n\f\nRFC 9991"))) << copied.toStdString();
}

} // namespace
} // namespace parchly
