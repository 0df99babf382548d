// parchly-bench FILE...: opens each file through openDocumentFile in a real
// main frame on the offscreen platform and prints, in milliseconds, the
// time until its window is composed, the parts of that composition measured
// again one by one (analysis, streaming, formatting, trees), and the time
// to hide and to show the headers and footers; the time to follow its
// contents links; for the RFC index, the time to open it with its tree and
// to make another entry current.
#include "analysis/analyse.h"
#include "analysis/line_reader.h"
#include "frame/document_window.h"
#include "frame/main_window.h"
#include "view/rfc_document.h"
#include "view/reading_view.h"
#include "view/shown_formats.h"
#include "bench_timing.h"
#include "collection_bench.h"
#include "reading_bench.h"
#include "unattended_app.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace parchly;

bool benchFile(ParchlyApplication& app, const QString& path)
{
    double total = 0;
    RfcDocument* document = nullptr;
    total = millisecondsOf([&] {
        document = app.openDocumentFile(path);
        QApplication::processEvents();
    });
    DocumentWindow* child = app.mainWindow()->activeDocumentWindow();
    if (!document || !child || !child->view()) {
        std::fprintf(stderr, "%s: not opened\n", qPrintable(path));
        return false;
    }
    ReadingView* view = child->view();
    const double hide = millisecondsOf([&] { document->cutHeadersAndFooters(true, true); });
    const double show = millisecondsOf([&] { document->cutHeadersAndFooters(false, false); });

    // The parts of a composition, each run again on its own.
    const std::string file = QFile::encodeName(path).toStdString();
    const double analysis = millisecondsOf([&] {
        std::optional<LineReader> reader = LineReader::open(file);
        RfcText scratch;
        if (reader)
            analyseText(scratch, &*reader, document->limits(), app.settings().analysisOptions());
    });
    std::string bytes;
    readTextModeFile(file, bytes);
    const double streaming = millisecondsOf([&] {
        bool delivered = false;
        view->streamInPlainText([&]() -> std::string {
            if (delivered)
                return std::string();
            delivered = true;
            return bytes;
        });
    });
    const double formatting =
        millisecondsOf([&] { formatShownText(*view, document->composition(), app.settings()); });
    const double treeFilling = millisecondsOf([&] { child->navigatorBar()->fillTrees(); });

    std::printf("%s: lines %d, analysis %.1f ms, streaming %.1f ms, formatting %.1f ms, trees %.1f ms, "
                "composed %.1f ms, hide headers/footers %.1f ms, show headers/footers %.1f ms\n",
                qPrintable(QFileInfo(path).fileName()), document->text().lineCount, analysis, streaming,
                formatting, treeFilling, total, hide, show);
    child->close();
    QApplication::processEvents();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments().mid(1);
    // --collection DIR [--word WORD] [--cited-by-only] [--keep-cache FILE]:
    // the whole local collection, no window.
    if (arguments.size() >= 2 && arguments[0] == QStringLiteral("--collection")) {
        parchly::CollectionBenchOptions options;
        const int word = arguments.indexOf(QStringLiteral("--word"));
        if (word > 0 && word + 1 < arguments.size())
            options.word = arguments[word + 1].toStdString();
        options.citedByOnly = arguments.contains(QStringLiteral("--cited-by-only"));
        const int cache = arguments.indexOf(QStringLiteral("--keep-cache"));
        if (cache > 0 && cache + 1 < arguments.size())
            options.keptCache = QFile::encodeName(arguments[cache + 1]).toStdString();
        return parchly::benchCollection(QFile::encodeName(arguments[1]).toStdString(), options) ? 0 : 1;
    }
    const char* const usage =
        "usage: parchly-bench FILE...\n       parchly-bench --collection DIR [--word WORD] "
        "[--cited-by-only] [--keep-cache FILE]\n";
    if (arguments == QStringList{QStringLiteral("--help")}) {
        std::fputs(usage, stdout);
        return 0;
    }
    // An option it does not know is no file to open.
    if (arguments.isEmpty() || arguments[0].startsWith(QLatin1Char('-'))) {
        std::fputs(usage, stderr);
        return 2;
    }
    QStringList paths;
    for (const QString& argument : arguments)
        paths << QFileInfo(argument).absoluteFilePath();

    parchly::UnattendedApp unattended;
    if (!unattended.app())
        return 1;
    parchly::ParchlyApplication& app = *unattended.app();
    int failures = 0;
    for (const QString& path : paths) {
        // The index has no headers to hide; its own figures are the tree and
        // the live entry.
        if (path.endsWith(QStringLiteral("rfc-index.txt"))) {
            failures += benchIndex(app, path) ? 0 : 1;
            continue;
        }
        failures += benchFile(app, path) ? 0 : 1;
        failures += benchContentsLinks(app, path) ? 0 : 1;
        failures += benchCrossLinks(app, path) ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
