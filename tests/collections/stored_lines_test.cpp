// The stored line forms of bookmarks and favourites and their reading back.
#include "collections/bookmark_text.h"
#include "collections/favorite_line.h"

#include <gtest/gtest.h>

namespace parchly {

TEST(bookmarkText, DamagedTextsReadBackWithoutPositionOrPath)
{
    // No path mark at all, nothing after the file name, and no backslash.
    for (const QString& text : {QStringLiteral("just a name \\rfc1.txt"), QStringLiteral("x\\"),
                                QStringLiteral(""), QStringLiteral("rfc1.txt (Ln 5, Col 2)")}) {
        const BookmarkTarget target = readBookmarkText(text);
        EXPECT_TRUE(target.storedPath.isEmpty()) << text.toStdString();
        EXPECT_EQ(target.line, 0) << text.toStdString();
    }
    // A line number that does not fit an int is held at its largest value;
    // a malformed column leaves the column 0 and keeps the line.
    const BookmarkTarget huge = readBookmarkText("rfc1.txt (Ln 99999999999999, Col x) - \\d\\rfc1.txt");
    EXPECT_EQ(huge.line, 2147483647);
    EXPECT_EQ(huge.column, 0);
    EXPECT_EQ(huge.storedPath, "\\d\\rfc1.txt");
}

TEST(favoriteLine, PutsTheFileNameInAColumnOf24)
{
    // The name's length and the spaces after it; at least two from 24 on.
    const std::pair<int, int> cases[] = {{23, 1}, {24, 2}, {30, 2}, {8, 16}};
    for (const auto& [length, spaces] : cases) {
        const QString name = QString(length - 4, 'a') + ".txt";
        EXPECT_EQ(favoriteLine("\\r\\" + name), name + QString(spaces, ' ') + "\\r\\" + name) << length;
        EXPECT_EQ(favoritePath(favoriteLine("\\r\\" + name)), "\\r\\" + name) << length;
    }
}

} // namespace parchly
