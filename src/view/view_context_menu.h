// The reading view's context menu (the right button, Shift+F10): on a link
// "Copy Link" and "Open in New Window" first, then the view's commands with
// the states they have at the moment it opens.
#ifndef PARCHLY_VIEW_VIEW_CONTEXT_MENU_H
#define PARCHLY_VIEW_VIEW_CONTEXT_MENU_H

#include "view/command_target.h"
#include "view/hyperlinks.h"

#include <QObject>

class QMenu;
class QPoint;

namespace parchly {

class ReadingView;

class ViewContextMenu : public QObject {
    Q_OBJECT
public:
    explicit ViewContextMenu(ReadingView& view);

    QMenu* menu() const { return m_menu; }

    // Fills the menu for the link at `globalPosition`, if any, and shows it
    // there without waiting: the choice arrives as a command.
    void popup(const QPoint& globalPosition);

private:
    CommandState commandState(int id);
    void runCommand(int id);
    void addLinkItems();

    ReadingView& m_view;
    QMenu* m_menu;
    LinkTarget m_link; // of the point the menu was asked for
};

} // namespace parchly

#endif
