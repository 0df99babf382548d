#include "platform/tree_images.h"

#include <QIcon>

namespace parchly {

namespace {

// An image of the desktop theme's icon `themeName` (none: the program's
// own) in `mode`; else the program's picture `own`.
QImage treeImage(const char* themeName, const char* own, QIcon::Mode mode = QIcon::Normal)
{
    const QIcon themed = themeName ? QIcon::fromTheme(QString::fromLatin1(themeName)) : QIcon();
    if (!themed.isNull())
        return themed.pixmap(kTreeImageSize, mode).toImage();
    return QImage(QStringLiteral(":/parchly/tree/%1.png").arg(QLatin1String(own)));
}

} // namespace

const QList<QImage>& treeImages()
{
    // A section has no freedesktop icon; its ribbon is always the program's.
    static const QList<QImage> images = {
        treeImage(nullptr, "section"),       treeImage(nullptr, "section-selected"),
        treeImage("folder", "folder"),       treeImage("folder-open", "folder-open"),
        treeImage("text-x-generic", "page"), treeImage("text-x-generic", "page-selected", QIcon::Selected),
    };
    return images;
}

} // namespace parchly
