// Options applied to open windows: each document is composed afresh in the
// new formats in its own window, the reader left where they were.
#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "settings/settings.h"
#include "view/command_ids.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"

#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>

namespace parchly {
namespace {

constexpr uint32_t kRed = 0x0000FF;

class OptionsAppliedTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        atStart = AtStart::ShownAtPageSize;
        openAtStart = {"rfc9901.txt"};
        AppFixture::SetUp();
        window = frame().activeDocumentWindow();
        ASSERT_NE(window, nullptr);
        view = window->view();
    }

    // The colour the text shows at the heading of section 1.
    uint32_t headingColour() const
    {
        const int heading = view->toPlainText().lastIndexOf(QStringLiteral("1.  Introduction"));
        QTextCursor cursor(view->document());
        cursor.setPosition(heading + 1);
        const QColor colour = cursor.charFormat().foreground().color();
        return uint32_t(colour.red()) | uint32_t(colour.green()) << 8 | uint32_t(colour.blue()) << 16;
    }

    // Section headings in red, as the Options dialog's Apply leaves them.
    void applyRedHeadings()
    {
        TextFormat format = *app->settings().categoryFormat(kFormatSubtitles);
        format.mask |= kMaskColour;
        format.colour = kRed;
        app->settings().setCategoryFormat(kFormatSubtitles, format);
        frame().applySettings();
        settle();
    }

    DocumentWindow* window = nullptr;
    ReadingView* view = nullptr;
};

TEST_F(OptionsAppliedTest, TheOpenWindowIsComposedAfreshInTheNewFormats)
{
    ASSERT_NE(headingColour(), kRed);
    const QPointer<DocumentWindow> kept(window);
    applyRedHeadings();
    ASSERT_FALSE(kept.isNull()) << "the window was closed";
    EXPECT_EQ(headingColour(), kRed);
}

TEST_F(OptionsAppliedTest, TheCaretAndTheTopLineStayOnTheirFileLines)
{
    view->setCaretLineColumn(68, 7);
    const int top = view->rfcDocument()->fileLineOf(ShownLine::atIndex(view->firstVisibleLine())).index();
    ASSERT_GT(top, 0);
    applyRedHeadings();
    EXPECT_EQ(test::caretOf(*view), std::make_pair(68, 7));
    EXPECT_EQ(view->rfcDocument()->fileLineOf(ShownLine::atIndex(view->firstVisibleLine())).index(), top);
}

TEST_F(OptionsAppliedTest, TheHistoryStillLeadsBack)
{
    view->setCaretLineColumn(100, 0);
    view->positions().record();
    view->setCaretLineColumn(10, 0);
    view->positions().record();
    const std::size_t recorded = view->history().entries().size();
    applyRedHeadings();
    EXPECT_EQ(view->history().entries().size(), recorded);
    ASSERT_TRUE(view->runCommand(kCmdGoBack));
    EXPECT_EQ(test::caretOf(*view).first, 100);
}

} // namespace
} // namespace parchly
