// Where the program keeps the user's files on Linux: the settings file, the
// default RFC folder, and where it finds its manual and tips. Nothing here
// writes into the folders the program is installed in.
#ifndef PARCHLY_APP_USER_FOLDERS_H
#define PARCHLY_APP_USER_FOLDERS_H

#include <QString>
#include <QStringList>

namespace parchly {

struct SettingsFileChoice {
    QString path;
    // Empty, or why the settings cannot be kept (the program still runs).
    QString problem;
};

// "Parchly.ini" in `currentFolder` when there is one (a portable copy);
// otherwise "Parchly.ini" in `configFolder`, made (with the folder) when
// missing.
SettingsFileChoice chooseSettingsFile(const QString& currentFolder, const QString& configFolder);

// The folders the manual and tips may be in, the first to look in first:
// the current folder, beside the program, the installed share/parchly
// relative to it, then the system's data folders.
QStringList resourceFolderCandidates();

// The first of `candidates` holding tips.txt or manual/index.html, with a
// trailing "/"; the first candidate when none does.
QString firstResourceFolder(const QStringList& candidates);

// The RFC folder used while none is chosen: "rfc" in the user's data folder.
QString defaultRfcFolder();

} // namespace parchly

#endif
