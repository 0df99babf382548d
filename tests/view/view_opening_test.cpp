#include "reading_fixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace parchly {

using namespace parchly::test;

// A file whose name ends in "rfc-index.txt" is the index, shown as text with
// only its Index tab; the name is matched with case.
TEST(ViewOpening, TheIndexIsKnownByItsNameAndShownAsText)
{
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    for (const QString name : {"rfc-index.txt", "my-rfc-index.txt"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RFC INDEX\r\n\r\n0001 Host Software. S. Crocker. April 1969.\r\n");
        file.close();
        OpenedView opened(file.fileName());
        ReadingView& view = opened.open();
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(view.toPlainText(), QString("RFC INDEX\n\n0001 Host Software. S. Crocker. April 1969.\n"));
        EXPECT_TRUE(opened.document.text().isIndex);
        EXPECT_EQ(opened.host.tabs->count(), 1);
        EXPECT_EQ(opened.host.pageTree->topLevelItemCount(), 0);
        view.showNavigatorMode();
        EXPECT_EQ(opened.host.modePane, QString("Index View"));
        view.setPageSeparatorsShown(true);
        EXPECT_EQ(view.toPlainText(), QString("RFC INDEX\n\n0001 Host Software. S. Crocker. April 1969.\n"))
            << "the index has no page separators";
    }

    ASSERT_TRUE(QFile::copy(fixtureRfcPath(), folder.filePath("RFC-INDEX.TXT")));
    OpenedView upper(folder.filePath("RFC-INDEX.TXT"));
    upper.open();
    EXPECT_FALSE(upper.document.text().isIndex);
    EXPECT_EQ(upper.host.tabs->count(), 2);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(ViewOpening, AFileThatCannotBeReadLeavesAnEmptyViewWithoutAMessage)
{
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    OpenedView opened(folder.filePath("rfc1.txt"));
    ReadingView& view = opened.open();
    EXPECT_TRUE(view.toPlainText().isEmpty());
    EXPECT_EQ(opened.host.tabs->count(), 0);
    EXPECT_EQ(opened.host.documentTabs, QStringList{"rfc1.txt"});
    EXPECT_FALSE(view.updatesFrozen());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace parchly
