// `parchly --update-collection` without a window, as a cron job runs it.
#include "update_test_support.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace parchly {
namespace {

using test::rfcBody;

class UpdateCommandTest : public ::testing::Test {
protected:
    test::TempFolder home;
    test::TempFolder module;
    test::TempFolder local;

    struct Run {
        int exitCode = -1;
        std::string output;
    };

    Run parchly(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // The settings file and default folder of a user of its own.
        environment.insert(QStringLiteral("HOME"), QString::fromStdString(home.path().string()));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(home.file("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(home.file("data")));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(home.path().string()));
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(PARCHLY_PROGRAM), arguments);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAll().toStdString()};
    }
};

TEST_F(UpdateCommandTest, UpdatesWithoutADisplayAndExitsZeroWhenAllArrived)
{
    test::writeTree(module.path(),
                    {{"rfc1.txt", rfcBody(1)},
                     {"rfc2.txt", rfcBody(2)},
                     {"rfc-index.txt", test::indexText({1, 2})},
                     {"bcp/bcp1.txt", "BCP\n"}});
    test::RsyncDaemon daemon(module.path());
    if (!daemon.running())
        GTEST_SKIP() << "no rsync daemon";
    // Errata that cannot be fetched are said and leave the RFCs' outcome.
    home.write("Parchly.ini",
               "[settings]\nErrataDownloadUrl=http://127.0.0.1:" + std::to_string(test::freePort())
                   + "/errata.json\n");
    const Run run = parchly({QStringLiteral("--update-collection"), QStringLiteral("--source"),
                             QString::fromStdString(daemon.moduleUrl()), QStringLiteral("--folder"),
                             QString::fromStdString(local.path().string())});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("The errata were not updated"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Listing " + daemon.moduleUrl()), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("2 new RFCs, 0 replaced, 0 failed (rsync)"), std::string::npos) << run.output;
    EXPECT_EQ(test::namesIn(local.path()), (std::set<std::string>{"rfc-index.txt", "rfc1.txt", "rfc2.txt"}));
}

TEST_F(UpdateCommandTest, ExitsNonZeroAndSaysWhyWhenNothingCouldBeFetched)
{
    const std::string closed = "127.0.0.1:" + std::to_string(test::freePort());
    home.write("Parchly.ini",
               "[settings]\nRfcIndexDownloadUrl=http://" + closed
                   + "/rfc-index.txt\nRfcFileDownloadUrl=http://" + closed + "/\nErrataDownloadUrl=http://"
                   + closed + "/errata.json\n");
    const Run run = parchly({QStringLiteral("--update-collection"), QStringLiteral("--source"),
                             QString::fromStdString("rsync://" + closed + "/rfcs-text-only/"),
                             QStringLiteral("--folder"), QString::fromStdString(local.path().string())});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("0 new RFCs, 0 replaced, 0 failed (HTTPS)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("The RFC index could not be fetched"), std::string::npos) << run.output;
}

TEST_F(UpdateCommandTest, SourceWithoutUpdateCollectionIsAWrongOption)
{
    const Run run = parchly({QStringLiteral("--source"), QStringLiteral("rsync://example.org/x/")});
    EXPECT_EQ(run.exitCode, 2) << run.output;
    EXPECT_NE(run.output.find("--update-collection"), std::string::npos) << run.output;
}

} // namespace
} // namespace parchly
