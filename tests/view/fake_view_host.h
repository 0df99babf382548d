// A stand-in for the frame around a reading view: the Navigator's two trees
// and tab strip, the status panes and the document tabs, with the settings
// the test chooses.
#ifndef PARCHLY_TESTS_VIEW_FAKE_VIEW_HOST_H
#define PARCHLY_TESTS_VIEW_FAKE_VIEW_HOST_H

#include "settings/settings.h"
#include "platform/tab_strip.h"
#include "platform/tree_view.h"
#include "view/rfc_document.h"
#include "view/reading_session.h"
#include "view/reading_view.h"
#include "view/view_host.h"

#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <vector>

namespace parchly::test {

class FakeViewHost : public QWidget, public ViewHost {
public:
    FakeViewHost()
        : options("./")
    {
        structureTree = new TreeView(this);
        pageTree = new TreeView(this);
        tabs = new TabStrip(this);
    }

    const RfcSettings& settings() const override { return options; }
    ReadingSession& session() override { return readingSession; }
    void runFrameCommand(int id) override { frameCommands.push_back(id); }
    NavigatorTrees navigator() override { return {structureTree, pageTree, tabs}; }
    void setModePane(const QString& text) override { modePane = text; }
    void setPositionPane(const QString& text) override { positionPane = text; }
    void addDocumentTab(const QString& title, ReadingView* view) override
    {
        documentTabs << title;
        tabViews.push_back(view);
    }
    void removeDocumentTab(ReadingView* view) override
    {
        const auto found = std::find(tabViews.begin(), tabViews.end(), view);
        if (found != tabViews.end()) {
            documentTabs.removeAt(int(found - tabViews.begin()));
            tabViews.erase(found);
        }
    }
    RfcDocument* openRfcNumber(int number) override
    {
        openedNumbers.push_back(number);
        return nullptr;
    }

    RfcSettings options;
    ReadingSession readingSession;
    std::vector<int> frameCommands;
    TreeView* structureTree;
    TreeView* pageTree;
    TabStrip* tabs;
    QString modePane;
    QString positionPane;
    QStringList documentTabs;
    std::vector<ReadingView*> tabViews;
    std::vector<int> openedNumbers;
};

// A document shown in a view of a fixed size, as the frame would show it.
// The view goes before its host.
struct OpenedView {
    explicit OpenedView(const QString& path)
        : document(path)
    {
    }

    // Creates the view and runs its first update.
    ReadingView& open(int height = 240)
    {
        view = std::make_unique<ReadingView>(&document, &host);
        view->resize(640, height);
        view->show();
        view->loadDocument();
        return *view;
    }

    FakeViewHost host;
    RfcDocument document;
    std::unique_ptr<ReadingView> view;
};

} // namespace parchly::test

#endif
