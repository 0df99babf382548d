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

// The list counts lines and columns from 1, as the status bar does, and
// shows this platform's separators.
TEST(bookmarkText, ShownFromOneWithoutWrappingRound)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Other - rfc791.txt (Ln 3, Col 0) - \\r\\rfc791.txt",
         "Other - rfc791.txt (Ln 4, Col 1) - /r/rfc791.txt"},
        // Counts held at the largest stored value do not wrap round.
        {"rfc1.txt (Ln 99999999999, Col 7) - \\rfc1.txt", "rfc1.txt (Ln 2147483648, Col 8) - /rfc1.txt"},
        // Without a readable position the text shows as stored.
        {"rfc1.txt notes - rfc1.txt (Ln 7, Col 7) - \\rfc1.txt",
         "rfc1.txt notes - rfc1.txt (Ln 7, Col 7) - /rfc1.txt"},
        {"rfc1.txt (Ln x, Col 7) - \\rfc1.txt", "rfc1.txt (Ln x, Col 7) - /rfc1.txt"},
    };
    for (const auto& [stored, shown] : cases)
        EXPECT_EQ(shownBookmarkText(stored), shown) << stored;
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
