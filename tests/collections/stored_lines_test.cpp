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
    const QString name23 = QString(19, 'a') + ".txt";
    const QString name24 = QString(20, 'b') + ".txt";
    const QString name30 = QString(26, 'c') + ".txt";
    EXPECT_EQ(favoriteLine("\\r\\" + name23), name23 + " " + "\\r\\" + name23);
    EXPECT_EQ(favoriteLine("\\r\\" + name24), name24 + "  " + "\\r\\" + name24);
    EXPECT_EQ(favoriteLine("\\r\\" + name30), name30 + "  " + "\\r\\" + name30);
    EXPECT_EQ(favoriteLine("\\r\\rfc1.txt"), "rfc1.txt" + QString(16, ' ') + "\\r\\rfc1.txt");

    for (const QString& name : {name23, name24, name30, QStringLiteral("rfc1.txt")})
        EXPECT_EQ(favoritePath(favoriteLine("\\r\\" + name)), "\\r\\" + name);
}

} // namespace parchly
