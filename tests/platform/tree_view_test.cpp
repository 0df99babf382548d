#include "platform/tab_strip.h"
#include "platform/tree_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace parchly {

namespace {

using Change = std::pair<QTreeWidgetItem*, SelectionCause>;

void clickAt(QWidget* target, QPoint point)
{
    QMouseEvent press(QEvent::MouseButtonPress, point, target->mapToGlobal(point), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, point, target->mapToGlobal(point), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

} // namespace

TEST(TreeView, ReportsWhoChangedTheSelection)
{
    TreeView tree;
    tree.resize(300, 300);
    tree.show();
    std::vector<Change> changes;
    QObject::connect(&tree, &TreeView::selectionChangedBy,
                     [&](QTreeWidgetItem* item, SelectionCause cause) { changes.emplace_back(item, cause); });

    TreeView::Item top = tree.insertItem(nullptr, "Abstract");
    TreeView::Item contents = tree.insertItem(nullptr, "Table of Contents");
    TreeView::Item nested = tree.insertItem(contents, "1. Introduction");
    EXPECT_EQ(tree.itemData(nested), -1) << "an item without data: the Navigator passes it over";

    tree.selectItem(nested);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes.back(), Change(nested, SelectionCause::Program));
    EXPECT_EQ(tree.currentItem(), nested);
    EXPECT_TRUE(contents->isExpanded()) << "a selected item is made visible";

    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&tree, &up);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes.back(), Change(contents, SelectionCause::Keyboard));

    clickAt(tree.viewport(), tree.visualItemRect(top).center());
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes.back(), Change(top, SelectionCause::Mouse));

    tree.selectItem(top); // already selected: no change to report
    EXPECT_EQ(changes.size(), 3u);
}

TEST(TabStrip, InsertsSelectsAndDeletesTabsTellingUserChangesApart)
{
    TabStrip tabs;
    tabs.resize(400, 30);
    tabs.show();
    std::vector<int> userChanges;
    QObject::connect(&tabs, &TabStrip::tabChangedByUser, [&](int index) { userChanges.push_back(index); });

    EXPECT_EQ(tabs.currentIndex(), -1);
    tabs.insertDataTab(0, "Page", 20);
    tabs.insertDataTab(0, "Structure", 10);
    tabs.insertDataTab(5, "rfc2616.txt", 30); // beyond the end: appended
    ASSERT_EQ(tabs.count(), 3);
    EXPECT_EQ(tabs.tabText(2), QString("rfc2616.txt"));

    tabs.selectTab(2);
    EXPECT_EQ(tabs.currentIndex(), 2);
    EXPECT_TRUE(userChanges.empty()) << "program changes are not reported";

    clickAt(&tabs, tabs.tabRect(0).center());
    EXPECT_EQ(tabs.currentIndex(), 0);
    EXPECT_EQ(userChanges, std::vector<int>{0});

    tabs.deleteTab(0);
    EXPECT_EQ(tabs.tabData(0).toInt(), 20);
    EXPECT_EQ(userChanges.size(), 1u) << "deleting the current tab is no user change";
}

} // namespace parchly
