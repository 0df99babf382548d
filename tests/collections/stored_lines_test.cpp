// The stored line forms of bookmarks and favourites and their reading back.
#include "collections/bookmark_text.h"
#include "collections/favorite_line.h"
#include "collections/stored_path.h"

#include <gtest/gtest.h>

namespace parchly {

namespace {
const QString kRfcPath = QStringLiteral("\\home\\ann\\RFCPath\\rfc2616.txt");
}

TEST(BookmarkText, IsTheNameThenTheLocationAndReadsBack)
{
    const QString location = BookmarkLocation(kRfcPath, 120, 3);
    EXPECT_EQ(location, "rfc2616.txt (Ln 120, Col 3) - " + kRfcPath);
    const QString text = BookmarkText("Intro", location);
    EXPECT_EQ(text, "Intro - " + location);

    const BookmarkTarget target = ReadBookmarkText(text);
    EXPECT_EQ(target.storedPath, kRfcPath);
    EXPECT_EQ(target.line, 120);
    EXPECT_EQ(target.column, 3);

    // Without a name the location alone is stored and reads back the same.
    EXPECT_EQ(BookmarkText("", location), location);
    const BookmarkTarget unnamed = ReadBookmarkText(location);
    EXPECT_EQ(unnamed.storedPath, kRfcPath);
    EXPECT_EQ(unnamed.line, 120);
    EXPECT_EQ(unnamed.column, 3);
}

TEST(BookmarkText, ANameBeginningWithTheFileNameKeepsThePathButLosesThePosition)
{
    const BookmarkTarget target =
        ReadBookmarkText(BookmarkText("rfc2616.txt caching", BookmarkLocation(kRfcPath, 40, 7)));
    EXPECT_EQ(target.storedPath, kRfcPath);
    EXPECT_EQ(target.line, 0);
    EXPECT_EQ(target.column, 0);
}

TEST(BookmarkText, DamagedTextsReadBackWithoutPositionOrPath)
{
    // No path mark at all, nothing after the file name, and no backslash.
    for (const QString& text : {QStringLiteral("just a name \\rfc1.txt"), QStringLiteral("x\\"),
                               QStringLiteral(""), QStringLiteral("rfc1.txt (Ln 5, Col 2)")}) {
        const BookmarkTarget target = ReadBookmarkText(text);
        EXPECT_TRUE(target.storedPath.isEmpty()) << text.toStdString();
        EXPECT_EQ(target.line, 0) << text.toStdString();
    }
    // A line number that does not fit an int is held at its largest value;
    // a malformed column leaves the column 0 and keeps the line.
    const BookmarkTarget huge =
        ReadBookmarkText("rfc1.txt (Ln 99999999999999, Col x) - \\d\\rfc1.txt");
    EXPECT_EQ(huge.line, 2147483647);
    EXPECT_EQ(huge.column, 0);
    EXPECT_EQ(huge.storedPath, "\\d\\rfc1.txt");
}

TEST(FavoriteLine, PutsTheFileNameInAColumnOf24)
{
    const QString name23 = QString(19, 'a') + ".txt";
    const QString name24 = QString(20, 'b') + ".txt";
    const QString name30 = QString(26, 'c') + ".txt";
    EXPECT_EQ(FavoriteLine("\\r\\" + name23), name23 + " " + "\\r\\" + name23);
    EXPECT_EQ(FavoriteLine("\\r\\" + name24), name24 + "  " + "\\r\\" + name24);
    EXPECT_EQ(FavoriteLine("\\r\\" + name30), name30 + "  " + "\\r\\" + name30);
    EXPECT_EQ(FavoriteLine("\\r\\rfc1.txt"), "rfc1.txt" + QString(16, ' ') + "\\r\\rfc1.txt");

    for (const QString& name : {name23, name24, name30, QStringLiteral("rfc1.txt")})
        EXPECT_EQ(FavoritePath(FavoriteLine("\\r\\" + name)), "\\r\\" + name);
}

TEST(FavoriteLine, APathWithoutBackslashReadsBackThroughTheRightHalf)
{
    for (const QString& path : {QStringLiteral("rfc1.txt"), QStringLiteral("/home/ann/rfc1.txt"),
                               QStringLiteral("a-very-long-favourite-file-name.txt")})
        EXPECT_EQ(FavoritePath(FavoriteLine(path)), path);
}

TEST(StoredPath, SlashesAreStoredAsBackslashesAndTurnedBack)
{
    EXPECT_EQ(toStoredPath("/home/ann/rfc1.txt"), "\\home\\ann\\rfc1.txt");
    EXPECT_EQ(fromStoredPath("D:\\RFCs\\rfc1.txt"), "D:/RFCs/rfc1.txt");
    EXPECT_TRUE(equalIgnoringAsciiCase("Intro - RFC1.TXT", "intro - rfc1.txt"));
    EXPECT_FALSE(equalIgnoringAsciiCase("intro", "intro "));
    EXPECT_FALSE(equalIgnoringAsciiCase(QString::fromUtf8("\xc3\xa9"), QString::fromUtf8("\xc3\x89")));
}

} // namespace parchly
