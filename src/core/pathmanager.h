#pragma once

#include "core/librarypath.h"

#include <QReadWriteLock>
#include <QString>
#include <QVector>

// The configured save-data, library and picture paths, read once from the settings (group
// "Paths") and fixed for the life of the process.
class PathManager
{
public:
    // The process-wide instance, built on first use beside the running program.
    static PathManager &instance();

    // Reads the settings; `applicationDir` is the folder the default library folder and the
    // default picture folder are relative to.
    explicit PathManager(const QString &applicationDir);
    PathManager(const PathManager &) = delete;
    PathManager &operator=(const PathManager &) = delete;

    // The folder list as the settings and the default library folder describe it now; the
    // instance keeps the list it read at construction.
    static QVector<LibraryPath> readLibraryPaths(const QString &defaultLibraryFolder);

    QVector<LibraryPath> libraryPaths() const;
    QString savePath() const;
    // Stores a new save-data path in the settings and uses it from now on.
    void setSavePath(const QString &path);
    QString nicePicPath() const;
    QString defaultLibraryFolder() const;

private:
    void logPaths() const;

    mutable QReadWriteLock m_lock;
    QVector<LibraryPath> m_libraryPaths;
    QString m_defaultLibraryFolder;
    QString m_savePath;
    QString m_nicePicPath;
};
