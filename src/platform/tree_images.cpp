#include "platform/tree_images.h"

#include <QPainter>
#include <QPolygon>

namespace parchly {

namespace {

QImage blankImage()
{
    QImage image(kTreeImageSize, kTreeImageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A section mark: a bookmark ribbon, filled when selected.
QImage sectionImage(bool selected)
{
    QImage image = blankImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 70, 140), 1.2));
    painter.setBrush(selected ? QColor(70, 120, 210) : QColor(200, 215, 240));
    painter.drawPolygon(QPolygon({{5, 2}, {14, 2}, {14, 17}, {9, 13}, {5, 17}}));
    return image;
}

// A group of entries: a folder, open when selected.
QImage folderImage(bool open)
{
    QImage image = blankImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(140, 100, 20), 1.0));
    painter.setBrush(QColor(240, 200, 90));
    painter.drawPolygon(QPolygon({{1, 4}, {7, 4}, {9, 6}, {17, 6}, {17, 16}, {1, 16}}));
    if (open) {
        painter.setBrush(QColor(250, 225, 140));
        painter.drawPolygon(QPolygon({{1, 16}, {4, 9}, {18, 9}, {17, 16}}));
    }
    return image;
}

// A single page with lines of text, highlighted when selected.
QImage pageImage(bool selected)
{
    QImage image = blankImage();
    QPainter painter(&image);
    painter.setPen(QPen(QColor(80, 80, 80), 1.0));
    painter.setBrush(selected ? QColor(255, 245, 170) : Qt::white);
    painter.drawPolygon(QPolygon({{3, 1}, {12, 1}, {16, 5}, {16, 17}, {3, 17}}));
    painter.setPen(QPen(selected ? QColor(30, 60, 160) : QColor(130, 130, 130), 1.0));
    for (int y = 6; y <= 14; y += 2)
        painter.drawLine(5, y, 14, y);
    return image;
}

} // namespace

const QList<QImage>& treeImages()
{
    static const QList<QImage> images = {sectionImage(false), sectionImage(true), folderImage(false),
                                         folderImage(true),   pageImage(false),   pageImage(true)};
    return images;
}

} // namespace parchly
