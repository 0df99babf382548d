// Keys and menu entries readers of other viewers reach for: Ctrl+Q,
// Ctrl+D, Open RFC by Number; the Edit menu with no document
// open; the About box; the toolbar pictures on a dark bar.
#include "app/about_dialog.h"
#include "frame/app_fixture.h"
#include "frame/command_icons.h"
#include "frame/document_tab_bar.h"
#include "frame/document_window.h"
#include "frame/open_rfc_dialog.h"
#include "platform/tab_strip.h"
#include "view/command_ids.h"
#include "settings/profile.h"
#include "support/fixture_cases.h"
#include "view/reading_view.h"

#include <QAbstractItemModel>
#include <QCompleter>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace parchly {
namespace {

class MenuKeysTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        atStart = AtStart::Shown;
        AppFixture::SetUp();
        // The keys reach the window's shortcuts only while it is active.
        frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    }

    QWidget* activeText() { return frame().activeDocumentWindow()->view()->viewport(); }

    // Answers Open RFC by Number with `typed`.
    void openByNumber(const QString& typed)
    {
        dialogs.dialogScripts.push_back([typed](QDialog& dialog) {
            auto& choose = static_cast<OpenRfcDialog&>(dialog);
            choose.numberEdit()->setText(typed);
            choose.openButton()->click();
            return choose.result();
        });
        frame().routeCommand(kCmdOpenRfcNumber);
    }

    QString activeName()
    {
        DocumentWindow* child = frame().activeDocumentWindow();
        return child ? QFileInfo(child->path()).fileName() : QString();
    }
};

TEST_F(MenuKeysTest, CtrlQClosesTheProgram)
{
    openCopies({"rfc1.txt"});
    QTest::keyClick(activeText(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(frame().isVisible());
}

TEST_F(MenuKeysTest, CtrlDKeepsTheCaretAsABookmark)
{
    openCopies({"rfc1.txt"});
    frame().activeDocumentWindow()->view()->setCaretLineColumn(20, 0);
    QTest::keyClick(activeText(), Qt::Key_D, Qt::ControlModifier);
    const QString stored = QString::fromStdString(app->profile().readString("Bookmarks", "BM0", ""));
    EXPECT_TRUE(stored.startsWith("bookmark - rfc1.txt (Ln 20, Col 0) - ")) << stored.toStdString();
    EXPECT_TRUE(
        frame().statusBar()->currentMessage().startsWith("Bookmark added: bookmark - rfc1.txt (Ln 21"));
}

TEST_F(MenuKeysTest, CtrlDTwiceAtOnePlaceKeepsOneBookmark)
{
    openCopies({"rfc1.txt"});
    QTest::keyClick(activeText(), Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(activeText(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_FALSE(app->profile().readString("Bookmarks", "BM0", "").empty());
    EXPECT_EQ(app->profile().readString("Bookmarks", "BM1", ""), "");
}

TEST_F(MenuKeysTest, OpenRfcByNumberOpensTheLocalFile)
{
    copyRfc("rfc9901.txt");
    openByNumber("RFC 9901");
    EXPECT_EQ(activeName(), "rfc9901.txt");
}

TEST_F(MenuKeysTest, OpenRfcByNumberShowsAnRfcMissingHereAtItsIndexEntry)
{
    copyFixture("rfc-index.txt", "rfc-index.txt");
    app->reloadIndexStatus();
    openByNumber("2");
    EXPECT_EQ(activeName(), "rfc-index.txt");
}

TEST_F(MenuKeysTest, OpenRfcByNumberCompletesWordsOfIndexTitles)
{
    copyFixture("rfc-index.txt", "rfc-index.txt");
    dialogs.dialogScripts.push_back([](QDialog& dialog) {
        auto& choose = static_cast<OpenRfcDialog&>(dialog);
        QCompleter* completer = choose.completer();
        completer->setCompletionPrefix("second sample");
        EXPECT_GE(completer->completionCount(), 1);
        EXPECT_TRUE(completer->currentCompletion().startsWith("2  Second Sample Entry"))
            << completer->currentCompletion().toStdString();
        return int(QDialog::Rejected);
    });
    frame().routeCommand(kCmdOpenRfcNumber);
    EXPECT_TRUE(dialogs.dialogScripts.empty());
}

TEST_F(MenuKeysTest, CtrlShiftOAsksForAnRfcNumber)
{
    QTest::keyClick(&frame(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_FALSE(dialogs.dialogTitles.isEmpty());
    EXPECT_EQ(dialogs.dialogTitles.last(), "Open RFC by Number");
}

TEST(TypedRfcNumber, NumbersWordsAndCompletionsNameTheirRfc)
{
    for (const test::FixtureCase& c : test::readFixtureCases("frame/typed-rfc-numbers.txt")) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(rfcNumberOfTypedText(QString::fromStdString(c["typed"])), c.number("number"));
    }
}

TEST_F(MenuKeysTest, EditMenuOffersFindInRfcsWithNoDocumentOpen)
{
    QAction* edit = actionNamed(frame().menuBar(), QStringLiteral("&Edit"));
    ASSERT_NE(edit, nullptr);
    QAction* findInRfcs = frame().commandAction(kCmdFindInRfcs);
    EXPECT_TRUE(edit->menu()->actions().contains(findInRfcs));
    frame().updateCommands();
    EXPECT_TRUE(findInRfcs->isEnabled());
}

TEST(AboutBox, ShowsCopyrightLicenceAndHomepage)
{
    AboutDialog about(QStringLiteral("https://example.org/parchly"));
    EXPECT_TRUE(about.copyrightText().startsWith("Copyright (c) "));
    EXPECT_TRUE(about.licenceText().contains("MIT License"));
    EXPECT_TRUE(about.homepageText().contains("href=\"https://example.org/parchly\""));
}

// How many of the picture's pixels stand out from a bar of `background`.
int pixelsStandingOut(const QIcon& icon, const QColor& background)
{
    QImage bar(16, 15, QImage::Format_ARGB32);
    bar.fill(background);
    {
        QPainter painter(&bar);
        painter.drawPixmap(0, 0, icon.pixmap(16, 15));
    }
    int count = 0;
    for (int y = 0; y < bar.height(); ++y)
        for (int x = 0; x < bar.width(); ++x)
            if (std::abs(qGray(bar.pixel(x, y)) - qGray(background.rgb())) > 60)
                ++count;
    return count;
}

TEST(ToolbarPictures, PageSeparatorsStandOutOnDarkAndLightBars)
{
    const QIcon icon = commandIcon(kCmdPageSeparators);
    EXPECT_GE(pixelsStandingOut(icon, QColor(32, 32, 32)), 20);
    EXPECT_GE(pixelsStandingOut(icon, QColor(240, 240, 240)), 20);
}

} // namespace
} // namespace parchly
