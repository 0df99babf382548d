// The Options dialog run from the Tools menu, with a document open: Apply
// recomposes every window, which switches the menu bar while the menu item
// that started the dialog is still running it.
#include "app/options_dialog.h"
#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "view/command_ids.h"

#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace parchly {
namespace {

class OptionsFromMenuTest : public test::AppFixture {
protected:
    OptionsFromMenuTest()
    {
        atStart = AtStart::Shown;
        openAtStart = {"rfc1.txt"};
    }

    // Opens the Tools menu and clicks its Options item as the mouse does;
    // the dialog is answered by `finish` (its last button) after Apply.
    void applyThenFinish(QPushButton* (OptionsDialog::*finish)() const)
    {
        dialogs.dialogScripts.push_back([finish](QDialog& dialog) {
            auto& options = static_cast<OptionsDialog&>(dialog);
            options.applyButton()->click();
            QApplication::processEvents();
            (options.*finish)()->click();
            return options.result();
        });
        QAction* toolsMenu = actionNamed(app->mainWindow()->menuBar(), QStringLiteral("&Tools"));
        ASSERT_NE(toolsMenu, nullptr);
        QMenu* menu = toolsMenu->menu();
        tools = menu;
        menu->popup(QPoint(0, 0));
        QAction* options = app->mainWindow()->commandAction(kCmdOptions);
        const QRect item = menu->actionGeometry(options);
        ASSERT_TRUE(item.isValid());
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, item.center());
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QPointer<QMenu> tools;
};

// Apply and then OK or Cancel: the menu and the open document stay.
TEST_F(OptionsFromMenuTest, ApplyThenOkOrCancelLeavesTheMenuThatRanTheDialog)
{
    for (auto finish : {&OptionsDialog::okButton, &OptionsDialog::cancelButton}) {
        SCOPED_TRACE(finish == &OptionsDialog::okButton ? "ApplyThenOk" : "ApplyThenCancel");
        applyThenFinish(finish);
        ASSERT_TRUE(dialogs.dialogScripts.empty()); // the Options dialog ran
        EXPECT_FALSE(tools.isNull());
        ASSERT_EQ(app->mainWindow()->documentWindows().size(), 1u);
        EXPECT_TRUE(app->mainWindow()->documentWindows()[0]->path().endsWith("rfc1.txt"));
    }
}

} // namespace
} // namespace parchly
