#include "app/startup_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "app/update_command.h"

#include <algorithm>
#include <cstdio>

namespace parchly {

namespace {

void write(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Qt's own options, which QApplication takes out of the arguments later.
const char* const kQtOptions[] = {"platform",
                                  "platformpluginpath",
                                  "platformtheme",
                                  "plugin",
                                  "display",
                                  "geometry",
                                  "qwindowgeometry",
                                  "qwindowicon",
                                  "qwindowtitle",
                                  "title",
                                  "icon",
                                  "name",
                                  "reverse",
                                  "session",
                                  "style",
                                  "stylesheet",
                                  "widgetcount",
                                  "nograb",
                                  "dograb",
                                  "qmljsdebugger"};

bool isQtOption(const QString& name)
{
    for (const char* option : kQtOptions)
        if (name == QLatin1String(option))
            return true;
    return false;
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
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("An RFC file or the RFC index to open."),
                                 QStringLiteral("[FILE...]"));
    parser.addPositionalArgument(QStringLiteral("NUMBER"),
                                 QStringLiteral("An RFC number to open from the local folder."),
                                 QStringLiteral("[NUMBER...]"));
    const QCommandLineOption update(
        QStringLiteral("update-collection"),
        QStringLiteral("Bring the local RFC folder level with the RFC Editor without a window, then end "
                       "(exit status 0 when everything wanted arrived)."));
    const QCommandLineOption source(QStringLiteral("source"),
                                    QStringLiteral("The collection address to update from (default: the "
                                                   "one set in Options)."),
                                    QStringLiteral("URL"));
    const QCommandLineOption folder(
        QStringLiteral("folder"),
        QStringLiteral("The RFC folder to update (default: the one set in Options)."), QStringLiteral("DIR"));
    parser.addOptions({update, source, folder});
    // "-platform" is one option, as Qt reads it, not six letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    bool wrong = !parser.parse(arguments);
    if (wrong && !reportErrors) {
        const QStringList unknown = parser.unknownOptionNames();
        wrong = !std::all_of(unknown.begin(), unknown.end(), isQtOption) || unknown.isEmpty();
    }
    if (wrong) {
        write(stderr,
              QStringLiteral("parchly: %1\nTry 'parchly --help' for more information.\n")
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
        write(stdout,
              QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                            QCoreApplication::applicationVersion()));
        return 0;
    }
    if ((parser.isSet(source) || parser.isSet(folder)) && !parser.isSet(update)) {
        write(stderr,
              QStringLiteral("parchly: --source and --folder go with --update-collection\n"
                             "Try 'parchly --help' for more information.\n"));
        return 2;
    }
    if (parser.isSet(update))
        return runUpdateCommand(parser.value(source), parser.value(folder), stdout);
    return std::nullopt;
}

} // namespace parchly
