// The commands' icons: the desktop theme's where it has one, else the
// program's own picture.
#include "frame/command_icons.h"

#include "frame/command_table.h"
#include "view/command_ids.h"
#include "support/temp_folder.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace parchly {
namespace {

QImage argb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage ownPicture(const QString& name)
{
    return argb(QImage(QStringLiteral(":/parchly/commands/%1.png").arg(name)));
}

// A theme of one 16-pixel icon, "document-open", all red.
class ThemeFolder {
public:
    ThemeFolder()
    {
        std::filesystem::create_directories(folder.path() / "test/16x16/actions");
        folder.write("test/index.theme",
                     "[Icon Theme]\nName=test\nDirectories=16x16/actions\n\n"
                     "[16x16/actions]\nSize=16\nType=Fixed\n");
        QImage red(16, 16, QImage::Format_ARGB32);
        red.fill(Qt::red);
        red.save(QString::fromStdString(folder.file("test/16x16/actions/document-open.png")));
        QIcon::setThemeSearchPaths({QString::fromStdString(folder.path().string())});
        QIcon::setThemeName(QStringLiteral("test"));
    }

    test::TempFolder folder;
};

// A theme without the icon (or none) still leaves a picture on the button.
TEST(CommandIcons, EveryNamedIconHasTheProgramsPictureInBothSizes)
{
    for (const CommandInfo& info : commandTable()) {
        if (!info.themeIcon)
            continue;
        SCOPED_TRACE(info.themeIcon);
        const QString name = QString::fromLatin1(info.themeIcon);
        EXPECT_EQ(ownPicture(name).size(), QSize(16, 16));
        EXPECT_EQ(ownPicture(name + QStringLiteral("@2x")).size(), QSize(32, 32));
    }
}

TEST(CommandIcons, ThemesIconComesFirst)
{
    const ThemeFolder theme;
    const QImage shown = argb(commandIcon(kCmdFileOpen).pixmap(16, 16).toImage());
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.pixelColor(8, 8), QColor(Qt::red));
}

TEST(CommandIcons, AnIconTheThemeLacksIsTheProgramsPicture)
{
    const ThemeFolder theme;
    const QImage shown = argb(commandIcon(kCmdFind).pixmap(16, 16).toImage());
    EXPECT_EQ(shown, ownPicture(QStringLiteral("edit-find")));
}

TEST(CommandIcons, ACommandWithoutAnIconNameHasNoIcon)
{
    EXPECT_TRUE(commandIcon(kCmdExit).isNull());
    EXPECT_TRUE(commandIcon(-12345).isNull());
}

TEST(CommandIcons, TheProgramIconHasItsOwnPictures)
{
    QIcon::setThemeName(QStringLiteral("no-such-theme"));
    EXPECT_FALSE(programIcon().pixmap(48, 48).isNull());
    EXPECT_TRUE(programIcon().availableSizes().contains(QSize(128, 128)));
}

} // namespace
} // namespace parchly
