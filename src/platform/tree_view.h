// The tree control of the Navigator: a QTreeWidget with the operations the
// view and the frame perform on it. Every item carries a text, a 32-bit data
// value and a pair of images (normal, selected) from an image list.
#ifndef PARCHLY_PLATFORM_TREE_VIEW_H
#define PARCHLY_PLATFORM_TREE_VIEW_H

#include <QImage>
#include <QList>
#include <QTreeWidget>
#include <cstdint>

namespace parchly {

// Who changed a tree's selection: the Navigator follows only the user.
enum class SelectionCause { Mouse, Keyboard, Program };

class TreeView : public QTreeWidget {
    Q_OBJECT
public:
    using Item = QTreeWidgetItem*;

    explicit TreeView(QWidget* parent = nullptr);

    void setImageList(const QList<QImage>& images);

    // Appends an item as the last child of `parent`, or at the top level
    // when `parent` is null; its data is -1 until set.
    Item insertItem(Item parent, const QString& text);

    void setItemData(Item item, int32_t value);
    int32_t itemData(Item item) const; // -1 for no item
    void setItemImages(Item item, int normal, int selected);
    QString itemText(Item item) const;

    // Navigation: each gives null where there is no such item.
    Item firstChild(Item item) const;
    Item nextSibling(Item item) const;
    Item nextVisible(Item item) const;
    Item parentItem(Item item) const;

    // Makes `item` the selected item, expanding its ancestors so that it is
    // visible, and reports the change with cause Program; null leaves no
    // item selected.
    void selectItem(Item item);

    // The whole text of the item at `point` (viewport coordinates) when the
    // tree's width cuts it; empty when it is shown whole or no item is there.
    // The tree shows it as the item's tooltip.
    QString cutTextAt(const QPoint& point) const;

signals:
    // The selected item changed; `item` may be null when the tree emptied.
    void selectionChangedBy(QTreeWidgetItem* item, parchly::SelectionCause cause);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void applyImages(Item item);

    QList<QImage> m_images;
    SelectionCause m_cause = SelectionCause::Program;
};

} // namespace parchly

#endif
