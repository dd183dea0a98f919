#include "storage/backup.h"

#include "core/logging.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

QString backupRoot()
{
    const QStringList locations
        = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    if (locations.isEmpty())
        return QString();
    return locations.constFirst() + QStringLiteral("/backups/");
}

bool copyRecursively(const QString &source, const QString &destination)
{
    const QDir sourceDir(source);
    if (!sourceDir.exists())
        return false;
    if (!QDir().mkpath(destination))
        return false;
    const QDir destinationDir(destination);
    const QStringList files = sourceDir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : files) {
        const QString from = sourceDir.filePath(name);
        const QString to = destinationDir.filePath(name);
        if (!QFile::copy(from, to)) {
            qCWarning(logDataIo) << "Copy failed:" << from << to;
            return false;
        }
    }
    const QStringList folders
        = sourceDir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : folders) {
        if (!copyRecursively(sourceDir.filePath(name), destinationDir.filePath(name)))
            return false;
    }
    return true;
}

bool moveToOverwrittenBackup(const QString &folder, const QString &parentDir,
                             const QString &folderName)
{
    const QString root = backupRoot();
    if (root.isEmpty()) {
        qCWarning(logDataIo) << "no backup location, keeping the old save directory" << folder;
        return false;
    }
    const QString backupDir = root + QStringLiteral("/overwritten/")
                              + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('/');
    QDir().mkpath(backupDir);

    QRandomGenerator random(quint32(qHash(parentDir))
                            ^ quint32(QDateTime::currentMSecsSinceEpoch()));
    QString destination;
    // A name already taken (same day, same draw) would merge two backups into one.
    do {
        destination = QDir::cleanPath(backupDir + folderName + QStringLiteral("-backup")
                                      + QString::number(random.generate()));
    } while (QFileInfo::exists(destination));

    qCDebug(logDataIo) << "moving old data from" << folder << "to" << destination
                       << "before overwriting save data";
    if (QDir().rename(folder, destination))
        return true;

    qCInfo(logDataIo) << "failed to move directory to its backup location, trying copy/remove";
    if (!copyRecursively(folder, destination)) {
        // Without a complete copy the old folder is the only one; it must stay.
        qCWarning(logDataIo) << "failed to move data, keeping the old save directory" << folder;
        QDir(destination).removeRecursively();
        return false;
    }
    if (!QDir(folder).removeRecursively())
        qCWarning(logDataIo) << "failed to remove old save directory" << folder;
    return true;
}
