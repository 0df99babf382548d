#include "reading_bench.h"

#include "bench_timing.h"

#include "analysis/line_mapping.h"
#include "analysis/link_records.h"
#include "analysis/rfc_text.h"
#include "index/index_status.h"
#include "settings/settings.h"
#include "view/hyperlinks.h"
#include "app/parchly_application.h"
#include "frame/document_window.h"
#include "frame/main_window.h"
#include "view/rfc_document.h"
#include "view/line_placement.h"
#include "view/reading_view.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

namespace parchly {

namespace {

ReadingView* openView(ParchlyApplication& app, const QString& path, double& milliseconds)
{
    RfcDocument* document = nullptr;
    milliseconds = millisecondsOf([&] {
        document = app.openDocumentFile(path);
        QApplication::processEvents();
    });
    DocumentWindow* child = app.mainWindow()->activeDocumentWindow();
    if (!document || !child || !child->view()) {
        std::fprintf(stderr, "%s: not opened\n", qPrintable(path));
        return nullptr;
    }
    return child->view();
}

void closeActive(ParchlyApplication& app)
{
    if (DocumentWindow* child = app.mainWindow()->activeDocumentWindow())
        child->close();
    QApplication::processEvents();
}

} // namespace

bool benchIndex(ParchlyApplication& app, const QString& path)
{
    double opening = 0;
    ReadingView* view = openView(app, path, opening);
    if (!view)
        return false;
    const RfcText& index = view->rfcDocument()->text();
    const int entries = static_cast<int>(index.indexEntries.size());
    // Entries spread over the whole file, each made current in turn.
    constexpr int kSteps = 200;
    double slowest = 0;
    double sum = 0;
    int steps = 0;
    for (int step = 1; step <= kSteps && entries > 1; ++step) {
        const RfcIndexEntry& entry = index.indexEntries[(static_cast<long>(step) * 7919) % entries];
        const int start = view->lineStart(entry.firstLine - 1);
        const double time = millisecondsOf([&] {
            view->setSelection(start, start);
            view->updateCurrentIndexEntry(-1);
        });
        slowest = std::max(slowest, time);
        sum += time;
        ++steps;
    }
    std::printf("%s: entries %d, opened with its tree %.1f ms, another entry current: average %.2f ms, "
                "slowest %.2f ms\n",
                qPrintable(QFileInfo(path).fileName()), entries, opening, steps ? sum / steps : 0.0, slowest);
    closeActive(app);
    return true;
}

bool benchContentsLinks(ParchlyApplication& app, const QString& path)
{
    double opening = 0;
    ReadingView* view = openView(app, path, opening);
    if (!view)
        return false;
    const RfcText& text = view->rfcDocument()->text();
    double slowest = 0;
    double sum = 0;
    int links = 0;
    for (const ContentEntry& entry : text.contents) {
        if (entry.headingLine <= 0)
            continue;
        // Bring the entry's line to the top, then follow it where a reader
        // clicks: on its text.
        const int line = view->rfcDocument()->shownLineOf(FileLine::atNumber(entry.firstLine)).index();
        view->scrollLines(line - view->firstVisibleLine());
        const QString shown = view->lineText(line);
        int column = 0;
        while (column < shown.size() && (shown[column] == ' ' || shown[column] == '\t'))
            ++column;
        const QPoint point = view->positionToPoint(view->lineStart(line) + column) + QPoint(2, 3);
        const double time = millisecondsOf([&] { view->links().followAt(point); });
        slowest = std::max(slowest, time);
        sum += time;
        ++links;
    }
    std::printf("%s: contents links followed %d, average %.2f ms, slowest %.2f ms\n",
                qPrintable(QFileInfo(path).fileName()), links, links ? sum / links : 0.0, slowest);
    closeActive(app);
    return true;
}

bool benchCrossLinks(ParchlyApplication& app, const QString& path)
{
    // The index of the file's folder, read as the program reads it once.
    RfcIndexStatus index;
    const QString indexPath = QFileInfo(path).absolutePath() + QStringLiteral("/rfc-index.txt");
    const double indexParse = millisecondsOf([&] { index.read(QFile::encodeName(indexPath).toStdString()); });

    double opening = 0;
    ReadingView* view = openView(app, path, opening);
    if (!view)
        return false;
    const RfcText& text = view->rfcDocument()->text();
    const RfcSettings& settings = app.settings();
    // The composition measured as the document makes it, with the record's
    // links and requirement keywords, then with them taken away for a moment. The
    // two alternate and each figure is a median: a single pair mostly
    // measured which one ran first into freshly allocated memory.
    RfcText& record = view->rfcDocument()->text();
    constexpr int kRounds = 7;
    std::vector<double> formatted;
    std::vector<double> formattedBare;
    ShownText shown;
    shown.text = view->rfcDocument()->shownText().text;
    shown.latin1Lines = view->rfcDocument()->shownText().latin1Lines;
    auto compose = [&] { composeFormats(record, LineCuts(), shown, settings, app.indexStatus()); };
    for (int round = 0; round < kRounds; ++round) {
        formatted.push_back(millisecondsOf(compose));
        std::vector<LinkMark> links = std::move(record.links);
        std::vector<RequirementSentence> requirements = std::move(record.requirements);
        record.links.clear();
        record.requirements.clear();
        formattedBare.push_back(millisecondsOf(compose));
        record.links = std::move(links);
        record.requirements = std::move(requirements);
    }
    const double linkFormats = std::max(0.0, median(formatted) - median(formattedBare));

    // Following the links that stay in the document: from the click to the
    // caret moved, each link's line brought into view first.
    double slowest = 0;
    double sum = 0;
    int followed = 0;
    for (std::size_t i = 0; i < text.links.size() && followed < 500; i += 1 + text.links.size() / 500) {
        const LinkMark& link = text.links[i];
        const bool here =
            link.kind == LinkKind::Citation || (link.kind == LinkKind::Section && link.targetLine > 0);
        if (!here || !isLiveLink(link, text, settings, app.indexStatus()))
            continue;
        const int line = view->rfcDocument()->shownLineOf(FileLine::atIndex(link.line)).index();
        view->scrollLines(line - view->firstVisibleLine());
        const QPoint point =
            view->positionToPoint(view->lineStart(line)
                                  + charColumnOf(*view, *view->rfcDocument(), line, link.startColumn))
            + QPoint(2, 3);
        const double time = millisecondsOf([&] { view->links().followAt(point); });
        slowest = std::max(slowest, time);
        sum += time;
        ++followed;
    }
    // Without links across RFCs the formatting would cost that much less.
    const double without = opening - linkFormats;
    std::printf(
        "%s: cross links %zu, requirements %zu, composed with them %.1f ms, without %.1f ms (+%.1f %%), "
        "links and keywords formatted %.1f ms, followed %d in the document: average "
        "%.2f ms, slowest %.2f ms; index%s read in %.1f ms (%zu entries)\n",
        qPrintable(QFileInfo(path).fileName()), text.links.size(), text.requirements.size(), opening, without,
        without > 0 ? 100.0 * (opening - without) / without : 0.0, linkFormats, followed,
        followed ? sum / followed : 0.0, slowest, index.empty() ? " not" : "", indexParse, index.size());
    closeActive(app);
    return true;
}

} // namespace parchly
