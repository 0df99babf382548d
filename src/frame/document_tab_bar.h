// The bar under the toolbars with one tab per open document view, in the
// order the views were opened. Its tabs carry their view; picking a tab
// asks the main frame to activate that document's window. Each tab has a
// close button; a middle click closes it too, and a right click asks for
// the tab's context menu.
#ifndef PARCHLY_FRAME_DOCUMENT_TAB_BAR_H
#define PARCHLY_FRAME_DOCUMENT_TAB_BAR_H

#include <QToolBar>

namespace parchly {

class TabStrip;

class DocumentTabBar : public QToolBar {
    Q_OBJECT
public:
    explicit DocumentTabBar(QWidget* parent);

    TabStrip* tabs() const { return m_tabs; }

    // Appends a tab whose data is `view` and selects it.
    void addViewTab(const QString& title, QWidget* view);
    // Removes the first tab whose data is `view`.
    void removeViewTab(QWidget* view);
    // Selects the first tab whose data is `view`; nothing when none is.
    void selectViewTab(QWidget* view);
    // The view of tab `index`, or null.
    QWidget* viewOfTab(int index) const;

signals:
    // The user picked tab `index`.
    void tabChosen(int index);
    // The user closed tab `index` by its button or a middle click.
    void tabCloseRequested(int index);
    // The user asked for the context menu of tab `index` at `globalPosition`.
    void tabMenuRequested(int index, const QPoint& globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int indexOfView(QWidget* view) const;

    TabStrip* m_tabs;
};

} // namespace parchly

#endif
