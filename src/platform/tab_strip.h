// The tab strips of the Navigator and of the main frame's DocumentTabBar: a
// QTabBar whose tabs carry a data value, and which tells a change the user
// made apart from one the program made.
#ifndef PARCHLY_PLATFORM_TAB_STRIP_H
#define PARCHLY_PLATFORM_TAB_STRIP_H

#include <QTabBar>
#include <QVariant>

namespace parchly {

class TabStrip : public QTabBar {
    Q_OBJECT
public:
    explicit TabStrip(QWidget* parent = nullptr);

    // Inserts a tab at `position` (clamped to the ends); later tabs move up
    // by one. Returns the new tab's index.
    int InsertTab(int position, const QString& text, const QVariant& data = QVariant());
    int TabCount() const { return count(); }
    QVariant GetTabData(int index) const { return tabData(index); }
    void SetTabData(int index, const QVariant& data) { setTabData(index, data); }

    // -1 when there is no tab.
    int GetSelectedTab() const { return currentIndex(); }

    // Selects a tab without a tabChangedByUser notification.
    void SelectTab(int index);

    // Removes a tab; later tabs move down by one.
    void DeleteTab(int index);

signals:
    // The user picked another tab.
    void tabChangedByUser(int index);

private:
    bool m_programChange = false;
};

} // namespace parchly

#endif
