#include "core/pathmanager.h"

#include "core/librarysettings.h"
#include "core/logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

PathManager &PathManager::instance()
{
    static PathManager manager(QCoreApplication::applicationDirPath());
    return manager;
}

PathManager::PathManager(const QString &applicationDir)
{
    QWriteLocker locker(&m_lock);
    m_defaultLibraryFolder = applicationDir + QStringLiteral("/../raman-libs/");

    QSettings settings;
    qCInfo(logSystem) << "Loading settings from" << settings.fileName();
    settings.beginGroup(QStringLiteral("Paths"));

    m_libraryPaths = readLibraryPaths(m_defaultLibraryFolder);

    const QString defaultSavePath
        = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
          + QStringLiteral("/Raman/");
    const QString defaultNicePicPath = applicationDir + QStringLiteral("/../nice-pics/");
    m_savePath = settings.value(QStringLiteral("SavePath"), defaultSavePath).toString();
    m_nicePicPath = settings.value(QStringLiteral("NicePicPath"), defaultNicePicPath).toString();
    settings.endGroup();

    // The list of measurements starts here, so it has to exist even on a first start.
    if (!QDir().mkpath(m_savePath))
        qCWarning(logSystem) << "Path manager: could not create the save data path" << m_savePath;

    logPaths();
}

QVector<LibraryPath> PathManager::readLibraryPaths(const QString &defaultLibraryFolder)
{
    // Whether a folder is a system one follows from where it is, not from what was stored.
    QVector<LibraryPath> paths = LibrarySettings::storedLibraryPaths();
    for (LibraryPath &entry : paths)
        entry.system = false;

    const QStringList systemFolders
        = QDir(defaultLibraryFolder)
              .entryList(QDir::Dirs | QDir::Readable | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : systemFolders) {
        const QString full = QDir::cleanPath(defaultLibraryFolder + QLatin1Char('/') + name);
        const int configured = indexOfLibraryPath(paths, full);
        if (configured >= 0) {
            paths[configured].system = true;
        } else {
            LibraryPath entry;
            entry.path = full;
            entry.enabled = true;
            entry.system = true;
            paths.append(entry);
        }
    }

    return paths;
}

void PathManager::logPaths() const
{
    qCDebug(logSystem) << "Path manager: using Raman library paths";
    for (const LibraryPath &entry : m_libraryPaths) {
        qCDebug(logSystem).noquote()
            << QLatin1Char('\t') + QLatin1String(entry.enabled ? "[x]" : "[ ]") << entry.path;
    }
    qCDebug(logSystem) << "Path manager: --- end of library path list";
    qCDebug(logSystem) << "Path manager: save data path" << m_savePath;
    qCDebug(logSystem) << "Path manager: NicePicPath" << m_nicePicPath;
}

QVector<LibraryPath> PathManager::libraryPaths() const
{
    QReadLocker locker(&m_lock);
    return m_libraryPaths;
}

QString PathManager::savePath() const
{
    QReadLocker locker(&m_lock);
    return m_savePath;
}

void PathManager::setSavePath(const QString &path)
{
    QWriteLocker locker(&m_lock);
    m_savePath = path;
    QSettings().setValue(QStringLiteral("Paths/SavePath"), path);
}

QString PathManager::nicePicPath() const
{
    QReadLocker locker(&m_lock);
    return m_nicePicPath;
}

QString PathManager::defaultLibraryFolder() const
{
    QReadLocker locker(&m_lock);
    return m_defaultLibraryFolder;
}
