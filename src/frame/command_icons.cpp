#include "frame/command_icons.h"

#include "frame/command_table.h"

namespace parchly {

// The program's own pictures are the fallback of a desktop theme that lacks
// an icon (or of a platform without one); each is named after its
// freedesktop icon, with a double-size version beside it.
QIcon commandIcon(int id)
{
    const CommandInfo* info = findCommand(id);
    if (!info || !info->themeIcon)
        return QIcon();
    const QString name = QString::fromLatin1(info->themeIcon);
    return QIcon::fromTheme(name, QIcon(QStringLiteral(":/parchly/commands/%1.png").arg(name)));
}

QIcon programIcon()
{
    QIcon own;
    for (int size : {48, 128})
        own.addFile(QStringLiteral(":/parchly/parchly-%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QStringLiteral("parchly"), own);
}

} // namespace parchly
