#include "storage/backup.h"

#include "core/logging.h"
#include "storage/checkedfiles.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>

QString backupRoot()
{
    const QString configured = QSettings().value(QLatin1String(backupPathKey)).toString();
    return configured.isEmpty() ? defaultBackupRoot()
                                : QDir::cleanPath(configured) + QLatin1Char('/');
}

QString defaultBackupRoot()
{
    const QStringList locations
        = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    if (locations.isEmpty())
        return QString();
    return locations.constFirst() + QStringLiteral("/backups/");
}

bool isInBackupArea(const QString &path)
{
    const QString root = QDir::cleanPath(QFileInfo(backupRoot()).absoluteFilePath());
    const QString cleaned = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return !backupRoot().isEmpty()
           && (cleaned == root || cleaned.startsWith(root + QLatin1Char('/')));
}

bool copyTree(CheckedFiles &files, const QString &source, const QString &destination)
{
    const QDir sourceDir(source);
    if (!files.makeDirectory(destination))
        return false;
    const QDir destinationDir(destination);
    const QStringList names = sourceDir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QString from = sourceDir.filePath(name);
        const QString to = destinationDir.filePath(name);
        if (files.tryLinkFile(from, to))
            continue;
        QByteArray bytes;
        if (!files.readFile(from, bytes) || !files.writeFile(to, bytes)
            || !files.verifyFile(to, bytes))
            return false;
    }
    const QStringList folders
        = sourceDir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : folders) {
        if (!copyTree(files, sourceDir.filePath(name), destinationDir.filePath(name)))
            return false;
    }
    return files.syncDirectory(destination);
}

QString copyToOverwrittenBackup(CheckedFiles &files, const QString &folder,
                                const QString &folderName)
{
    const QString root = backupRoot();
    if (root.isEmpty()) {
        files.fail(folder, QStringLiteral("no backup location"));
        return QString();
    }
    const QString day = QDir::cleanPath(root + QStringLiteral("/overwritten/")
                                        + QDate::currentDate().toString(Qt::ISODate));
    if (!files.makePath(day))
        return QString();

    QString destination;
    // A name already taken (same day, same draw) would merge two backups into one.
    do {
        destination = day + QLatin1Char('/') + folderName + QStringLiteral("-backup")
                      + QString::number(QRandomGenerator::global()->generate());
    } while (QFileInfo::exists(destination));

    qCDebug(logDataIo) << "copying old data from" << folder << "to" << destination;
    if (copyTree(files, folder, destination) && files.syncDirectory(day))
        return destination;
    QDir(destination).removeRecursively();
    return QString();
}
