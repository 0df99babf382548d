// parchly-update-bench [--files N] [--missing M] [--size BYTES]: the figures
// of Update RFC Collection on this machine, against servers it starts on
// 127.0.0.1 itself: a first rsync of an N-file tree laid out like the RFC
// Editor's text-only module from a local rsync daemon, a second rsync with
// nothing new (the median of three runs), and the HTTPS path fetching M
// missing RFCs from the local HTTPS test server (6 connections). Prints
// milliseconds and the summary of each run.
#include "bench_timing.h"
#include "update/collection_update.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace {

using namespace parchly;

int freeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

void writeFile(const QString& path, const std::string& bytes)
{
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

// An RFC-like text of about `size` bytes, different for each number.
std::string rfcText(int number, int size)
{
    std::string text = "RFC " + std::to_string(number) + "\n";
    while (static_cast<int>(text.size()) < size)
        text += "   Line of the benchmark RFC " + std::to_string(number) + ", about the protocol.\n";
    return text;
}

std::string indexText(int files)
{
    std::string text = "\n RFC INDEX\n ---------\n\n RFC INDEX\n ---------\n\n";
    char head[16];
    for (int number = 1; number <= files; ++number) {
        std::snprintf(head, sizeof head, "%04d", number);
        text += std::string(head) + " Benchmark Protocol " + std::to_string(number)
            + ". A. Author. May 2026. (Format: TXT, HTML) (Status: PROPOSED STANDARD)\n\n";
    }
    return text;
}

void report(const char* what, double milliseconds, const UpdateSummary& summary)
{
    std::printf("%-44s %10.0f ms   %s%s\n", what, milliseconds, summary.countsLine().c_str(),
                summary.complete() ? "" : (" -- " + summary.problem).c_str());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    int files = 10000;
    int missing = 1000;
    int size = 6000;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QLatin1String("--files"))
            files = arguments[i + 1].toInt();
        else if (arguments[i] == QLatin1String("--missing"))
            missing = arguments[i + 1].toInt();
        else if (arguments[i] == QLatin1String("--size"))
            size = arguments[i + 1].toInt();
    }
    missing = std::min(missing, files);
    QTemporaryDir work;
    const QString module = work.filePath(QStringLiteral("module"));
    const QString local = work.filePath(QStringLiteral("local"));
    QDir().mkpath(module + QStringLiteral("/bcp"));
    QDir().mkpath(module + QStringLiteral("/std"));
    QDir().mkpath(local);
    for (int number = 1; number <= files; ++number)
        writeFile(module + QStringLiteral("/rfc%1.txt").arg(number), rfcText(number, size));
    writeFile(module + QStringLiteral("/rfc-index.txt"), indexText(files));
    writeFile(module + QStringLiteral("/bcp/bcp14.txt"), "BCP 14\n");
    writeFile(module + QStringLiteral("/rfc1.pdf"), "%PDF-1.4\n");
    std::printf("fixture: %d RFCs of about %d bytes, %d missing for HTTPS\n", files, size, missing);

    const QString config = work.filePath(QStringLiteral("rsyncd.conf"));
    writeFile(config,
              "use chroot = no\nuid = " + std::to_string(::getuid()) + "\ngid = " + std::to_string(::getgid())
                  + "\nlog file = " + work.filePath(QStringLiteral("rsyncd.log")).toStdString()
                  + "\n[rfcs-text-only]\npath = " + module.toStdString() + "\nread only = yes\n");
    const int rsyncPort = freeLoopbackPort();
    QProcess daemon;
    daemon.start(QStringLiteral("rsync"),
                 {QStringLiteral("--daemon"), QStringLiteral("--no-detach"),
                  QStringLiteral("--config=") + config, QStringLiteral("--address=127.0.0.1"),
                  QStringLiteral("--port=%1").arg(rsyncPort)});
    if (!daemon.waitForStarted()) {
        std::fprintf(stderr, "parchly-update-bench: rsync could not be started\n");
        return 1;
    }
    QThread::msleep(500);
    std::atomic<bool> cancel{false};
    UpdateOptions options;
    options.source = "rsync://127.0.0.1:" + std::to_string(rsyncPort) + "/rfcs-text-only/";
    options.folder = local.toStdString();
    UpdateSummary summary;
    double time = millisecondsOf([&] { summary = updateCollection(options, cancel, {}); });
    report("rsync, first sync", time, summary);
    // The median of three, this being the figure a daily timer meets.
    std::vector<double> seconds;
    for (int run = 0; run < 3; ++run)
        seconds.push_back(millisecondsOf([&] { summary = updateCollection(options, cancel, {}); }));
    report("rsync, second sync, nothing new (goal < 2 s)", median(seconds), summary);
    daemon.terminate();
    daemon.waitForFinished();

    // The HTTPS path: the folder lacks the last `missing` RFCs.
    for (int number = files - missing + 1; number <= files; ++number)
        QFile::remove(local + QStringLiteral("/rfc%1.txt").arg(number));
    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(PARCHLY_HTTP_TEST_SERVER), QStringLiteral("--root"), module,
                  QStringLiteral("--tls"), work.path()});
    QByteArray announced;
    while (!announced.contains('\n') && server.waitForReadyRead(20000))
        announced += server.readAll();
    const int httpsPort = announced.mid(announced.indexOf("PORT ") + 5).trimmed().toInt();
    if (httpsPort == 0) {
        std::fprintf(stderr, "parchly-update-bench: the HTTPS test server did not start\n");
        return 1;
    }
    const std::string origin = "https://127.0.0.1:" + std::to_string(httpsPort) + "/files/";
    options.source = origin;
    options.indexUrl = origin + "rfc-index.txt";
    options.rfcFolderUrl = origin;
    options.caFile = work.filePath(QStringLiteral("cert.pem")).toStdString();
    time = millisecondsOf([&] { summary = updateCollection(options, cancel, {}); });
    report("HTTPS, missing RFCs (6 connections)", time, summary);
    server.terminate();
    server.waitForFinished();
    return 0;
}
