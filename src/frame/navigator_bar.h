// The Navigator of a document window: a tab strip over the trees of its
// document. For an RFC the tabs are "Structure" (first tree), "Page" (second
// tree) and "Requirements"; for the RFC index the single tab "Index" shows
// the first tree. The Navigator observes the document: it builds its trees
// when the document is loaded, follows the reader's position, and turns the
// user's choices in the trees into moves it asks of the document.
#ifndef PARCHLY_FRAME_NAVIGATOR_BAR_H
#define PARCHLY_FRAME_NAVIGATOR_BAR_H

#include "analysis/line_number.h"
#include "ui/dock_bar.h"

#include <QTreeWidgetItem>
#include <vector>

namespace parchly {

class RfcDocument;
class TabStrip;
class TreeView;
struct RfcSettings;
enum class SelectionCause;

// The Navigator's tab of the requirement sentences, after Structure and Page.
constexpr int kRequirementsTab = 2;

class NavigatorBar : public DockBar {
    Q_OBJECT
public:
    static constexpr int kTabStripHeight = 22;

    // `settings` are read at the moment of use and outlive the bar.
    NavigatorBar(QWidget* parentFrame, RfcDocument& document, const RfcSettings& settings);

    TabStrip* tabs() const { return m_tabs; }
    TreeView* firstTree() const { return m_firstTree; }
    TreeView* secondTree() const { return m_secondTree; }
    TreeView* requirementsTree() const { return m_requirementsTree; }

    // Fills the trees from the document's record: Structure, Page and
    // Requirements for an RFC (with their tabs, the first time), the Index
    // tree for the index.
    void fillTrees();

    // Shows the tree of `tab` (0 the first, any other the second); nothing
    // for the RFC index.
    void showNavigatorTab(int tab);

    // "Index View", "Requirements View", "Page View", "Structure View" or
    // the title of an added page after the trees ("Cited by").
    QString mode() const;

    // A tab after those of the trees ("Cited by") whose page stands in
    // place of the trees while it is current.
    void addPage(const QString& title, QWidget* page);
    // Brings the tab of an added page to the front.
    void showPage(QWidget* page);

signals:
    // A leaf of the Index tree was opened: RFC `number`.
    void rfcChosen(int number);
    // The tab shown changed the Navigator's mode().
    void modeChanged(const QString& mode);

protected:
    void layoutClient(const QSize& clientSize) override;

private:
    // Selects the item of shown line `line` in the tree of the selected tab.
    void followLine(ShownLine line);
    // The front-matter heading's item whose text holds `line`; null before
    // the first or without any.
    QTreeWidgetItem* frontMatterItemAt(FileLine line) const;
    void routeSelection(TreeView* tree, QTreeWidgetItem* item, SelectionCause cause);
    void openFromIndexTree();
    // A click on a keyword's row of the Requirements tab ("MUST (12)").
    void stepThroughKeyword(QTreeWidgetItem* item);

    RfcDocument& m_document;
    const RfcSettings& m_settings;
    TabStrip* m_tabs;
    TreeView* m_firstTree;
    TreeView* m_secondTree;
    TreeView* m_requirementsTree;
    bool m_tabsAdded = false;
    int m_lastStep = -1; // the requirement a keyword's row went to last
    std::vector<QWidget*> m_pages; // of the tabs after the three trees
};

} // namespace parchly

#endif
