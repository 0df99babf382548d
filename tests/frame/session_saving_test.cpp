// The session (the open windows, the active one and where each was read) is
// written while the program runs, a moment after each change, so that a
// crash or a killed program does not lose it.
#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/reading_positions.h"
#include "settings/profile.h"

#include <QTest>

namespace parchly {
namespace {

// rfc1.txt and rfc2.txt opened in a running program.
class SessionSavingTest : public test::AppFixture {
protected:
    SessionSavingTest()
    {
        atStart = AtStart::Started;
        openAtStart = {"rfc1.txt", "rfc2.txt"};
    }

    // The session as another program reading the settings file finds it now.
    std::vector<std::string> storedPaths(int* active = nullptr)
    {
        int stored = -1;
        std::vector<std::string> paths;
        for (const SessionWindow& window : storedSession(Profile(app->profile().path()), stored))
            paths.push_back(window.path);
        if (active)
            *active = stored;
        return paths;
    }

    // Waits (at most a few seconds) until the stored session has `count` windows.
    bool waitForStoredCount(size_t count)
    {
        return QTest::qWaitFor([&] { return storedPaths().size() == count; }, 5000);
    }

    std::string keyOf(const QString& name)
    {
        return QFileInfo(pathOf(name)).absoluteFilePath().toStdString();
    }
};

TEST_F(SessionSavingTest, OpenedDocumentsAreStoredWithoutClosingTheProgram)
{
    ASSERT_TRUE(waitForStoredCount(2));
    int active = -1;
    EXPECT_EQ(storedPaths(&active), (std::vector<std::string>{keyOf("rfc1.txt"), keyOf("rfc2.txt")}));
    EXPECT_EQ(active, 1);
}

TEST_F(SessionSavingTest, ClosedDocumentLeavesTheStoredSession)
{
    ASSERT_TRUE(waitForStoredCount(2));
    frame().documentWindows()[0]->close();
    ASSERT_TRUE(waitForStoredCount(1));
    EXPECT_EQ(storedPaths(), std::vector<std::string>{keyOf("rfc2.txt")});
}

TEST_F(SessionSavingTest, MovedReadingPositionIsStoredWithoutClosingTheProgram)
{
    ASSERT_TRUE(waitForStoredCount(2));
    frame().documentWindows()[0]->setReadingPosition({40, 56, 3});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            int active = -1;
            const auto windows = storedSession(Profile(app->profile().path()), active);
            return windows.size() == 2 && windows[0].position.caretLine == 56;
        },
        5000));
}

TEST_F(SessionSavingTest, ClosingTheProgramKeepsTheWindowsItClosed)
{
    frame().close();
    // Past the moment a change would be written: the windows closing with
    // the program are no change of the session.
    QTest::qWait(2000);
    EXPECT_EQ(storedPaths().size(), 2u);
}

} // namespace
} // namespace parchly
