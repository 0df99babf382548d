#include "app/startup_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace parchly {

namespace {

void write(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

std::optional<int> handleStartupOptions(const QStringList& arguments, bool reportErrors)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A reader for IETF RFCs."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Files and RFC numbers are accepted here, so that the part that opens
    // them reads them from the same arguments.
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("An RFC file or the RFC index to open."),
                                 QStringLiteral("[FILE...]"));
    parser.addPositionalArgument(QStringLiteral("NUMBER"), QStringLiteral("An RFC number to open from the local folder."),
                                 QStringLiteral("[NUMBER...]"));
    if (!parser.parse(arguments) && reportErrors) {
        write(stderr, QStringLiteral("parchly: %1\nTry 'parchly --help' for more information.\n")
                          .arg(parser.errorText()));
        return 2;
    }
    // Not showHelp()/showVersion(): they end the process from inside, past
    // the caller's clean-up.
    if (parser.isSet(help)) {
        write(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        write(stdout, QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion()));
        return 0;
    }
    return std::nullopt;
}

} // namespace parchly
