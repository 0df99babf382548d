// A side bar that docks on any side of its main window or floats, that the
// user resizes by its edge, hides with its close box and toggles between
// docked and floating with a double click. Subclasses put their controls
// in clientArea() and lay them out in layoutClient().
#ifndef PARCHLY_UI_DOCK_BAR_H
#define PARCHLY_UI_DOCK_BAR_H

#include <QDockWidget>
#include <QSize>

namespace parchly {

class DockBar : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 33;
    static constexpr int kMinimumHeight = 32;

    // `defaultSize` is the size the bar asks for when first docked or
    // floated; without a gripper the bar has no title bar.
    DockBar(const QString& title, QWidget* parent, QSize defaultSize, bool gripper);

    QWidget* clientArea() const { return m_client; }

    QSize sizeHint() const override;

protected:
    // Called whenever the client area changes size.
    virtual void layoutClient(const QSize& clientSize);

    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_client;
    QSize m_defaultSize;
};

} // namespace parchly

#endif
