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
    // by one, without a tabChangedByUser notification. Returns the new
    // tab's index.
    int insertDataTab(int position, const QString& text, const QVariant& data = QVariant());
    // Selects a tab without a tabChangedByUser notification.
    void selectTab(int index);

    // Removes a tab, without a tabChangedByUser notification; later tabs
    // move down by one.
    void deleteTab(int index);

signals:
    // The user picked another tab.
    void tabChangedByUser(int index);

private:
    bool m_programChange = false;
};

} // namespace parchly

#endif
