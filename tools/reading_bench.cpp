#include "reading_bench.h"

#include "bench_timing.h"

#include "analysis/line_mapping.h"
#include "analysis/rfc_text.h"
#include "app/parchly_app.h"
#include "frame/child_frame.h"
#include "frame/main_frame.h"
#include "view/parchly_doc.h"
#include "view/parchly_view.h"

#include <QApplication>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

namespace parchly {

namespace {

CParchlyView* openView(CParchlyApp& app, const QString& path, double& milliseconds)
{
    CParchlyDoc* document = nullptr;
    milliseconds = millisecondsOf([&] {
        document = app.OpenDocumentFile(path);
        QApplication::processEvents();
    });
    CChildFrame* child = app.mainFrame()->activeChildFrame();
    if (!document || !child || !child->view()) {
        std::fprintf(stderr, "%s: not opened\n", qPrintable(path));
        return nullptr;
    }
    return child->view();
}

void closeActive(CParchlyApp& app)
{
    if (CChildFrame* child = app.mainFrame()->activeChildFrame())
        child->close();
    QApplication::processEvents();
}

} // namespace

bool benchIndex(CParchlyApp& app, const QString& path)
{
    double opening = 0;
    CParchlyView* view = openView(app, path, opening);
    if (!view)
        return false;
    const RfcText& index = view->GetDocument()->text();
    const int entries = static_cast<int>(index.indexEntries.size());
    // Entries spread over the whole file, each made current in turn.
    constexpr int kSteps = 200;
    double slowest = 0;
    double sum = 0;
    int steps = 0;
    for (int step = 1; step <= kSteps && entries > 1; ++step) {
        const RfcIndexEntry& entry = index.indexEntries[(static_cast<long>(step) * 7919) % entries];
        const int start = view->LineStart(entry.firstLine - 1);
        const double time = millisecondsOf([&] {
            view->SetSelection(start, start);
            view->UpdateCurrentIndexEntry(-1);
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

bool benchContentsLinks(CParchlyApp& app, const QString& path)
{
    double opening = 0;
    CParchlyView* view = openView(app, path, opening);
    if (!view)
        return false;
    const RfcText& text = view->GetDocument()->text();
    double slowest = 0;
    double sum = 0;
    int links = 0;
    for (const ContentEntry& entry : text.contents) {
        if (entry.headingLine <= 0)
            continue;
        // Bring the entry's line to the top, then follow it where a reader
        // clicks: on its text.
        const int line = fileLineToDisplay(text, entry.firstLine) - 1;
        view->ScrollLines(line - view->FirstVisibleLine());
        const QString shown = view->LineText(line);
        int column = 0;
        while (column < shown.size() && (shown[column] == ' ' || shown[column] == '\t'))
            ++column;
        const QPoint point = view->PositionToPoint(view->LineStart(line) + column) + QPoint(2, 3);
        const double time = millisecondsOf([&] { view->FollowLinkAt(point); });
        slowest = std::max(slowest, time);
        sum += time;
        ++links;
    }
    std::printf("%s: contents links followed %d, average %.2f ms, slowest %.2f ms\n",
                qPrintable(QFileInfo(path).fileName()), links, links ? sum / links : 0.0, slowest);
    closeActive(app);
    return true;
}

} // namespace parchly
