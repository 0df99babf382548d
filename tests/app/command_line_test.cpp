// Documents named on the command line, and their hand-over from a second
// start to the running program.
#include "app/command_line.h"
#include "app/instance_channel.h"
#include "app/parchly_application.h"

#include "analysis/rfc_text.h"
#include "settings/command_ids.h"
#include "view/rfc_document.h"
#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/main_window.h"
#include "view/reading_view.h"

#include <QSignalSpy>
#include <QUuid>

namespace parchly {
namespace {

TEST(CommandLine, NumbersStayFilesBecomeAbsoluteOptionsAreLeftOut)
{
    const struct {
        QStringList arguments;
        QStringList expected;
    } cases[] = {
        {{"9110", "rfc1.txt", "/abs/x.txt", "--help", "-", ""},
         {"9110", "/work/here/rfc1.txt", "/abs/x.txt"}},
        {{"../up/./rfc2.txt", "007"}, {"/work/up/rfc2.txt", "007"}},
        // Not an RFC number: too long, signed, a fraction, other digits.
        {{"123456", "+5", "9.1", QString::fromUtf8("\u0661\u0662")},
         {"/work/here/123456", "/work/here/+5", "/work/here/9.1",
          QString::fromUtf8("/work/here/\u0661\u0662")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(documentArguments(c.arguments, QStringLiteral("/work/here")), c.expected)
            << c.arguments.join(' ').toStdString();
    EXPECT_EQ(rfcNumberArgument(QStringLiteral("007")), 7);
    EXPECT_EQ(rfcNumberArgument(QStringLiteral("/work/here/9110")), 0);
}

TEST(InstanceChannel, ASecondStartHandsItsArgumentsToTheRunningOne)
{
    const QString name = QStringLiteral("parchly-test-") + QUuid::createUuid().toString(QUuid::Id128);
    InstanceChannel second(name);
    EXPECT_FALSE(second.handOver({QStringLiteral("9110")}, 200)) << "nobody listens yet";

    InstanceChannel running(name);
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &InstanceChannel::argumentsReceived);
    const QList<QStringList> handOvers = {{"9110", "/tmp/a b.txt"}, {}};
    for (const QStringList& arguments : handOvers) {
        ASSERT_TRUE(second.handOver(arguments));
        ASSERT_TRUE(received.count() > 0 || received.wait(5000));
        EXPECT_EQ(received.takeFirst().at(0).toStringList(), arguments);
    }

    // A name left behind by a program that died is taken over.
    InstanceChannel stale(name);
    EXPECT_TRUE(stale.listen());
}

class OpenArgumentsTest : public test::AppFixture { };

TEST_F(OpenArgumentsTest, OpensFilesAndNumbersOrTheIndexEntryOfAMissingRfc)
{
    makeApp();
    copyRfc(QStringLiteral("rfc9901.txt"));
    copyRfc(QStringLiteral("other.txt"));
    copyFixture(QStringLiteral("rfc-index.txt"), QStringLiteral("rfc-index.txt"));
    app->openArguments({pathOf("other.txt"), QStringLiteral("9901"), QStringLiteral("2")});
    MainWindow& frame = *app->mainWindow();
    ASSERT_EQ(frame.documentWindows().size(), 3u);
    EXPECT_EQ(frame.documentWindows()[0]->windowTitle(), QStringLiteral("other.txt"));
    EXPECT_EQ(frame.documentWindows()[1]->windowTitle(), QStringLiteral("rfc9901.txt"));
    DocumentWindow* index = frame.activeDocumentWindow();
    ASSERT_TRUE(index->isIndexDocument());
    int line = 0;
    int column = 0;
    index->view()->caretLineColumn(line, column);
    const auto& entries = index->document()->text().indexEntries;
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(line + 1, entries[1].firstLine); // firstLine counts from 1
    EXPECT_TRUE(dialogs.messages.isEmpty());

    app->openArguments({QStringLiteral("77")});
    EXPECT_EQ(dialogs.messages, QStringList({"RFC 77 is not in the RFC index."}));
}

TEST_F(OpenArgumentsTest, FileOpenStartsInTheRfcFolderWithRfcsFirst)
{
    makeApp();
    app->runCommand(kCmdFileOpen);
    EXPECT_EQ(dialogs.openStarts, QStringList({QDir(folder.path()).absolutePath()}));
    EXPECT_EQ(dialogs.openFilters, QStringList({"RFC files (rfc*.txt rfc-index.txt);;All Files (*)"}));
}

} // namespace
} // namespace parchly
