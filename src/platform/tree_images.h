// The application's tree image list: six 19-pixel images in pairs (normal,
// selected): 0/1 Structure items, 2/3 index groups, 4/5 index entries and
// pages.
#ifndef PARCHLY_PLATFORM_TREE_IMAGES_H
#define PARCHLY_PLATFORM_TREE_IMAGES_H

#include <QImage>
#include <QList>

namespace parchly {

constexpr int kTreeImageSize = 19;
constexpr int kTreeImageCount = 6;

// The normal image of each pair; its selected image is the next one.
constexpr int kStructureImage = 0;
constexpr int kIndexGroupImage = 2;
constexpr int kIndexEntryImage = 4;
constexpr int kPageImage = 4;

// Read once on first use: the desktop theme's folder and document icons
// where it has them, else the program's own pictures.
const QList<QImage>& treeImages();

} // namespace parchly

#endif
