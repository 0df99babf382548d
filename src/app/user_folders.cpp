#include "app/user_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace parchly {

namespace {

const QString kSettingsFile = QStringLiteral("Parchly.ini");

} // namespace

SettingsFileChoice chooseSettingsFile(const QString& currentFolder, const QString& configFolder)
{
    const QString portable = QDir(currentFolder).absoluteFilePath(kSettingsFile);
    if (QFileInfo(portable).isFile())
        return {portable, QString()};
    const QString path = QDir(configFolder).absoluteFilePath(kSettingsFile);
    if (QFileInfo(path).isFile())
        return {path, QString()};
    QFile file(path);
    if (!QDir().mkpath(configFolder) || !file.open(QIODevice::WriteOnly))
        return {
            path,
            QStringLiteral("Cannot create the settings file %1; the settings will not be kept.").arg(path)};
    return {path, QString()};
}

QStringList resourceFolderCandidates()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList candidates = {QDir::currentPath(), programFolder,
                              programFolder + QStringLiteral("/../share/parchly")};
    candidates += QStandardPaths::locateAll(QStandardPaths::AppDataLocation, QString(),
                                            QStandardPaths::LocateDirectory);
    candidates += QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("parchly"),
                                            QStandardPaths::LocateDirectory);
    return candidates;
}

QString firstResourceFolder(const QStringList& candidates)
{
    for (const QString& candidate : candidates) {
        const QDir folder(candidate);
        if (folder.exists(QStringLiteral("tips.txt")) || folder.exists(QStringLiteral("manual/index.html")))
            return folder.absolutePath() + QLatin1Char('/');
    }
    return candidates.isEmpty() ? QStringLiteral("./")
                                : QDir(candidates.first()).absolutePath() + QLatin1Char('/');
}

QString defaultRfcFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/rfc");
}

} // namespace parchly
