#include "fake_view_host.h"
#include "support/scripted_dialogs.h"
#include "view_test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace parchly {

using namespace parchly::test;

namespace {

QString writeFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QByteArray fixtureBytes()
{
    QFile file(fixtureRfcPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(ViewOpening, TheIndexFileIsShownAsTextWithItsIndexTab)
{
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    const QByteArray index = "RFC INDEX\r\n\r\n0001 Host Software. S. Crocker. April 1969.\r\n";
    for (const QString& name : {QString("rfc-index.txt"), QString("my-rfc-index.txt")}) {
        OpenedView opened(writeFile(folder, name, index));
        CParchlyView& view = opened.open();
        EXPECT_EQ(view.toPlainText(), QString("RFC INDEX\n\n0001 Host Software. S. Crocker. April 1969.\n")) << name.toStdString();
        EXPECT_TRUE(opened.document.text().isIndex) << name.toStdString();
        // Without entries only the first group of the Index tree stands ready.
        EXPECT_EQ(opened.host.structureTree->topLevelItemCount(), 1) << name.toStdString();
        EXPECT_EQ(opened.host.pageTree->topLevelItemCount(), 0) << name.toStdString();
        EXPECT_EQ(opened.host.tabs->TabCount(), 1) << name.toStdString();
        EXPECT_EQ(opened.host.documentTabs, QStringList{name});
        EXPECT_TRUE(view.isReadOnly());

        view.ShowNavigatorMode();
        EXPECT_EQ(opened.host.modePane, QString("Index View"));
        const QString before = view.toPlainText();
        view.ShowPageSeparators(true);
        EXPECT_EQ(view.toPlainText(), before) << "the index has no page separators";
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(ViewOpening, TheIndexNameIsMatchedWithCase)
{
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    OpenedView opened(writeFile(folder, "RFC-INDEX.TXT", fixtureBytes()));
    opened.open();
    EXPECT_FALSE(opened.document.text().isIndex);
    EXPECT_EQ(opened.host.tabs->TabCount(), 2);
    EXPECT_GT(opened.host.structureTree->topLevelItemCount(), 0);
}

TEST(ViewOpening, AFileThatCannotBeReadLeavesAnEmptyViewWithoutAMessage)
{
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    OpenedView opened(folder.filePath("rfc1.txt"));
    CParchlyView& view = opened.open();
    EXPECT_TRUE(view.toPlainText().isEmpty());
    EXPECT_EQ(opened.host.tabs->TabCount(), 0);
    EXPECT_EQ(opened.host.documentTabs, QStringList{"rfc1.txt"});
    EXPECT_FALSE(view.IsHiddenForChange());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace parchly
