#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/document_tab_bar.h"
#include "frame/main_window.h"
#include "platform/tab_strip.h"
#include "support/corpus.h"
#include "view/rfc_document.h"

#include <QApplication>
#include <QDir>

namespace parchly {
namespace {

using FrameCorpusTest = test::AppFixture;

// Every file of the corpus, the index included, opens through the File
// menu's road into a window of its own with its tab, and all of them close
// again back to the menus without a document.
TEST_F(FrameCorpusTest, EveryFileOpensInItsOwnWindowAndClosesAgain)
{
    PARCHLY_REQUIRE_CORPUS_FILE(anyRfc, "rfc2616.txt");
    makeApp();
    MainWindow& frame = *app->mainWindow();
    const QDir folder(QString::fromStdString(anyRfc.parent_path().string()));
    const QStringList names = folder.entryList({"*.txt"}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        RfcDocument* document = app->openDocumentFile(folder.filePath(name));
        ASSERT_NE(document, nullptr) << name.toStdString();
        ASSERT_NE(frame.activeDocumentWindow(), nullptr);
        EXPECT_EQ(frame.activeDocumentWindow()->document(), document);
        EXPECT_EQ(document->text().isIndex, name == QLatin1String("rfc-index.txt")) << name.toStdString();
        EXPECT_EQ(frame.documentTabBar()->tabs()->tabText(frame.documentTabBar()->tabs()->currentIndex()),
                  name);
    }
    EXPECT_EQ(frame.documentTabBar()->tabs()->count(), names.size());
    EXPECT_TRUE(dialogs.messages.isEmpty());

    for (DocumentWindow* child : std::vector<DocumentWindow*>(frame.documentWindows()))
        child->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame.documentTabBar()->tabs()->count(), 0);
    EXPECT_EQ(frame.menuSet(), MenuSet::NoDocument);
    EXPECT_FALSE(app->mainWindow()->indexDocumentOpen());
}

} // namespace
} // namespace parchly
