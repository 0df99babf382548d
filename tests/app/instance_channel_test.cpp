// The hand-over between a second start and the running program: only to a
// program of the same user, display and home; never from inside the
// socket's own handler; listening before anything modal.
#include "app/instance_channel.h"

#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/reading_positions.h"
#include "settings/profile.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTimer>
#include <QUuid>
#include <cstdio>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace parchly {
namespace {

using ParchlyAppTest = test::AppFixture;

QString uniqueName()
{
    return QStringLiteral("parchly-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

// Runs the event loop for `ms` milliseconds, as a modal dialog would.
void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Listens at `socketPath` as "nobody" in a child process, writes -1 to
// `reportFd` once it listens, takes one connection and writes how many bytes
// came; returns the child's pid. The child gives up after 30 s, so that a
// connection that never comes fails the test instead of hanging it.
pid_t forkSquatter(const QByteArray& socketPath, int reportFd)
{
    const pid_t squatter = ::fork();
    if (squatter != 0)
        return squatter;
    ::alarm(30);
    if (::setgid(65534) != 0 || ::setuid(65534) != 0)
        ::_exit(2);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.constData());
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::chmod(socketPath.constData(), 0777) != 0 || ::listen(listener, 1) != 0)
        ::_exit(3);
    const long listening = -1;
    (void)!::write(reportFd, &listening, sizeof listening);
    const int peer = ::accept(listener, nullptr, nullptr);
    char bytes[4096];
    long total = 0;
    for (long got; (got = ::read(peer, bytes, sizeof bytes)) > 0;)
        total += got;
    (void)!::write(reportFd, &total, sizeof total);
    ::_exit(0);
}

// A channel listening under a name of its own, and what it received.
class RunningChannel : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(running.listen()); }

    const QString name = uniqueName();
    InstanceChannel running{name};
    QSignalSpy received{&running, &InstanceChannel::argumentsReceived};
};

// A temporary root with a private runtime folder "run" in it.
class ChannelFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        QDir().mkpath(runtime);
        ::chmod(QFile::encodeName(runtime).constData(), 0700);
    }
    QTemporaryDir root;
    const QString runtime = root.filePath(QStringLiteral("run"));
};

// The channel's name for a user of this runtime folder, display and home
// (and Wayland display when given), with the root as the temporary folder.
class ChannelName : public ChannelFolders {
protected:
    QString nameFor(const QString& runtimeFolder, const QString& display, const QString& home,
                    const QString& wayland = QString())
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
        environment.insert(QStringLiteral("TMPDIR"), root.path());
        environment.insert(QStringLiteral("DISPLAY"), display);
        environment.insert(QStringLiteral("HOME"), home);
        if (!wayland.isEmpty())
            environment.insert(QStringLiteral("WAYLAND_DISPLAY"), wayland);
        return InstanceChannel::userServerName(environment);
    }
    // The folder of the user's own in the temporary folder.
    const QString own = root.filePath(QStringLiteral("parchly-%1").arg(::geteuid()));
};

// The built program run in the root: a private runtime folder, a home of
// its own, no display, and a tip of the day waiting in its working folder.
class ProgramStart : public ChannelFolders {
protected:
    void SetUp() override
    {
        ChannelFolders::SetUp();
        for (const char* folder : {"home", "work"})
            QDir().mkpath(root.filePath(QString::fromLatin1(folder)));
        QFile tips(root.filePath(QStringLiteral("work/tips.txt")));
        ASSERT_TRUE(tips.open(QIODevice::WriteOnly));
        tips.write("A tip that waits to be read.\n");
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        environment.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("home/.config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           root.filePath(QStringLiteral("home/.local/share")));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    }
    void start(QProcess& program, const QStringList& arguments)
    {
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(root.filePath(QStringLiteral("work")));
        program.start(QStringLiteral(PARCHLY_BINARY), arguments);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

// The exact sequence that killed the program: a later start names an RFC
// the index lacks; the message about it is answered while the socket that
// brought the number is gone.
TEST_F(ParchlyAppTest, AHandOverWhoseMessageIsAnsweredLeavesTheProgramRunning)
{
    copyFixture(QStringLiteral("rfc-index.txt"), QStringLiteral("rfc-index.txt"));
    makeApp();
    app->openArguments({QStringLiteral("2")});
    ASSERT_TRUE(app->mainWindow()->indexDocumentOpen());
    dialogs.whileMessageShown = [] { runEventLoop(300); };

    const QString name = uniqueName();
    InstanceChannel running(name);
    ASSERT_TRUE(running.listen());
    QObject::connect(&running, &InstanceChannel::argumentsReceived, app.get(),
                     &ParchlyApplication::openArguments);
    const QString missing = QStringLiteral("RFC 99999 is not in the RFC index.");
    for (int start = 0; start < 2; ++start) {
        ASSERT_TRUE(InstanceChannel(name).handOver({QStringLiteral("99999")}));
        for (int wait = 0; wait < 50 && dialogs.messages.count(missing) <= start; ++wait)
            runEventLoop(100);
        runEventLoop(200);
        EXPECT_EQ(dialogs.messages.count(missing), start + 1);
    }
}

// The same sequence in a child process whose freed memory is poisoned at
// once (no per-thread cache, every freed byte overwritten): a socket freed
// under its own read handler is then used as garbage every time, as it was
// for the reader whose program died, instead of only when the heap happens
// to reuse it.
TEST(InstanceChannelHandOver, AnAnsweredMessageTouchesNoFreedSocket)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("GLIBC_TUNABLES"), QStringLiteral("glibc.malloc.tcache_count=0"));
    environment.insert(QStringLiteral("MALLOC_PERTURB_"), QStringLiteral("165"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=ParchlyAppTest.")
                 + QStringLiteral("AHandOverWhoseMessageIsAnsweredLeavesTheProgramRunning")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

// A program that answers under the name but runs as another user is told
// nothing, and this start goes on as the first (here the other user is a
// listener whose uid is not the one trusted).
TEST_F(RunningChannel, APeerOfAnotherUserIsToldNothing)
{

    InstanceChannel second(name);
    second.setTrustedUser(::geteuid() + 1);
    EXPECT_FALSE(second.handOver({QStringLiteral("/home/me/private-notes.txt")}, 500));
    // Nor does the running program take a start of another user.
    running.setTrustedUser(::geteuid() + 1);
    InstanceChannel(name).handOver({QStringLiteral("9110")}, 500);
    runEventLoop(300);
    EXPECT_EQ(received.count(), 0);
}

// Another user created the socket first, in a folder both may write (where
// the channel once lay): the file names never reach it.
TEST(InstanceChannel, ASocketSquattedByAnotherUserLearnsNothing)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "running a listener as another user takes the superuser";
    QTemporaryDir shared;
    ASSERT_TRUE(shared.isValid());
    ::chmod(QFile::encodeName(shared.path()).constData(), 01777);
    const QByteArray socketPath = QFile::encodeName(shared.filePath(QStringLiteral("parchly-victim")));
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t squatter = forkSquatter(socketPath, report[1]);
    ASSERT_GE(squatter, 0);
    ::close(report[1]);
    long heard = 0;
    ASSERT_EQ(::read(report[0], &heard, sizeof heard), long(sizeof heard)) << "the squatter could not listen";
    ASSERT_EQ(heard, -1);

    InstanceChannel victim(QFile::decodeName(socketPath));
    EXPECT_FALSE(victim.handOver({QStringLiteral("/root/private-notes.txt"), QStringLiteral("9110")}, 2000));
    heard = -1;
    EXPECT_EQ(::read(report[0], &heard, sizeof heard), long(sizeof heard));
    EXPECT_EQ(heard, 0) << "the squatter read the victim's file names";
    ::close(report[0]);
    int status = 0;
    EXPECT_EQ(::waitpid(squatter, &status, 0), squatter);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// One channel per user, display and home folder, in a folder only the user
// can enter.
TEST_F(ChannelName, TheNameIsPerDisplayHomeAndWaylandSession)
{
    const QString first = nameFor(runtime, ":57", "/home/me");
    EXPECT_TRUE(first.startsWith(runtime + QStringLiteral("/parchly-"))) << first.toStdString();
    EXPECT_EQ(nameFor(runtime, ":57", "/home/me"), first);
    EXPECT_NE(nameFor(runtime, ":58", "/home/me"), first) << "another display";
    EXPECT_NE(nameFor(runtime, ":57", "/other"), first) << "another home";
    EXPECT_NE(nameFor(runtime, ":57", "/home/me", "wayland-0"), first) << "a Wayland session";
}

// Without a runtime folder, or with one others may enter: a folder of the
// user's own in the temporary folder, made closed to others.
TEST_F(ChannelName, WithoutAPrivateRuntimeFolderTheUsersClosedTemporaryFolderIsUsed)
{
    EXPECT_TRUE(nameFor(QString(), ":57", "/home/me").startsWith(own + '/'));
    struct stat status { };
    ASSERT_EQ(::stat(QFile::encodeName(own).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ::chmod(QFile::encodeName(runtime).constData(), 0755);
    EXPECT_TRUE(nameFor(runtime, ":57", "/home/me").startsWith(own + '/'));
}

// That folder made first by someone who let others in: no channel at all.
TEST_F(ChannelName, ATemporaryFolderOthersMayEnterGivesNoChannel)
{
    ASSERT_TRUE(QDir().mkpath(own));
    ::chmod(QFile::encodeName(own).constData(), 0777);
    EXPECT_EQ(nameFor(QString(), ":57", "/home/me"), QString());
    EXPECT_FALSE(InstanceChannel(QString()).listen());
    EXPECT_FALSE(InstanceChannel(QString()).handOver({QStringLiteral("1")}));
}

// The program listens before its tip of the day: a second start while the
// tip waits hands its file over and ends, instead of running as a second
// program beside the first.
TEST_F(ProgramStart, ASecondStartDuringTheTipOfTheDayHandsOver)
{
    QProcess first;
    start(first, {});
    ASSERT_TRUE(first.waitForStarted(10000));
    // The socket appears while the tip is up.
    bool listening = false;
    for (int wait = 0; wait < 150 && !listening && first.state() == QProcess::Running; ++wait) {
        listening = !QDir(runtime).entryList({QStringLiteral("parchly-*")}, QDir::System).isEmpty();
        if (!listening)
            first.waitForFinished(100);
    }
    EXPECT_TRUE(listening) << "no channel while the tip of the day is shown";

    QProcess second;
    start(second, {QStringLiteral("rfc9110.txt")});
    const bool ended = second.waitForFinished(20000);
    EXPECT_TRUE(ended) << "the second start ran as a program of its own";
    if (ended) {
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
    }
    second.kill();
    second.waitForFinished(5000);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(5000);
}

// A FIFO or a device in the stored session, or named on the command line,
// is refused without being opened: once, a FIFO blocked the start before
// the channel listened, and /dev/zero was read until memory ran out.
TEST_F(ParchlyAppTest, AFifoOrDeviceInTheSessionOrCommandLineBlocksNothing)
{
    const QString rfc = copyRfc(QStringLiteral("rfc9901.txt"));
    const QString fifo = pathOf(QStringLiteral("rfc10.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    {
        Profile profile(QFile::encodeName(pathOf(QStringLiteral("Parchly.ini"))).toStdString());
        storeSession(profile,
                     {{QFile::encodeName(fifo).toStdString(), {}},
                      {"/dev/zero", {}},
                      {QFile::encodeName(rfc).toStdString(), {}}},
                     2);
    }
    makeApp();
    ASSERT_EQ(app->mainWindow()->documentWindows().size(), 1u);
    EXPECT_EQ(app->mainWindow()->documentWindows()[0]->windowTitle(), QStringLiteral("rfc9901.txt"));

    for (const QString& special : {fifo, QStringLiteral("/dev/zero")})
        EXPECT_EQ(app->openDocumentFile(special), nullptr) << special.toStdString();
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(app->mainWindow()->documentWindows().size(), 1u);
}

TEST(InstanceChannel, AHandOverWithNobodyListeningFails)
{
    InstanceChannel second(uniqueName());
    EXPECT_FALSE(second.handOver({QStringLiteral("9110")}, 200));
}

TEST_F(RunningChannel, ASecondStartHandsItsArgumentsToTheRunningOne)
{
    InstanceChannel second(name);
    const QList<QStringList> handOvers = {{"9110", "/tmp/a b.txt"}, {}};
    for (const QStringList& arguments : handOvers) {
        ASSERT_TRUE(second.handOver(arguments));
        ASSERT_TRUE(received.count() > 0 || received.wait(5000));
        EXPECT_EQ(received.takeFirst().at(0).toStringList(), arguments);
    }
}

// A name left behind by a program that died is taken over.
TEST_F(RunningChannel, ANameLeftBehindIsTakenOver)
{
    InstanceChannel stale(name);
    EXPECT_TRUE(stale.listen());
}

} // namespace
} // namespace parchly
