// The manual (Help, Contents) says what the program does: its shortcut table
// lists every key of the command table.
#include "frame/command_table.h"
#include "view/command_ids.h"
#include "support/temp_folder.h"

#include <QKeySequence>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

namespace parchly {
namespace {

// The keys of the manual's shortcut table, as the key sequences they name.
QSet<QString> manualKeys()
{
    const QString manual =
        QString::fromStdString(test::readFile(PARCHLY_SOURCE_DIR "/docs/manual/index.html"));
    const QString table =
        manual.section(QStringLiteral("id=\"keys\""), 1).section(QStringLiteral("</table>"), 0, 0);
    QSet<QString> keys;
    const QRegularExpression kbd(QStringLiteral("<kbd>([^<]+)</kbd>"));
    for (auto match = kbd.globalMatch(table); match.hasNext();)
        keys << QKeySequence::fromString(match.next().captured(1)).toString();
    return keys;
}

// Keys the read-only view leaves to the text control or ignores.
bool documented(int id)
{
    return id != kCmdReplace && id != kCmdPaste && id != kCmdCut && id != kCmdUndo && id != kCmdEscape
        && id != kCmdAltEnter;
}

TEST(Manual, TheShortcutTableListsEveryKeyOfTheCommands)
{
    const QSet<QString> listed = manualKeys();
    ASSERT_FALSE(listed.isEmpty());
    for (const CommandInfo& info : commandTable()) {
        if (!info.shortcuts || !documented(info.id))
            continue;
        for (const QString& key : QString::fromLatin1(info.shortcuts).split(QLatin1Char(';')))
            EXPECT_TRUE(listed.contains(QKeySequence::fromString(key).toString())) << key.toStdString();
    }
}

} // namespace
} // namespace parchly
