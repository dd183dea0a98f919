#pragma once

// Loading copies of read-only reference folders, so that caches can be built beside them.

#include "library/rlibrary.h"

#include <QDir>
#include <QFile>

// Copies the first `count` (-1: all) reference files of a read-only folder so that a cache can be
// built beside them.
inline bool copyLibraryFolder(const QString &from, const QString &to, int count = -1)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString &file :
         source.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name).mid(0, count)) {
        if (!QFile::copy(source.filePath(file), to + QLatin1Char('/') + file))
            return false;
    }
    return true;
}

// Loads a copy of the first `count` (-1: all) reference spectra of a read-only folder.
inline bool loadLibraryCopy(const QString &from, const QString &copy, RLibrary &library,
                            int count = -1)
{
    if (!copyLibraryFolder(from, copy, count))
        return false;
    LibraryPath path;
    path.path = copy;
    library.setLibraryFolders({path});
    library.readLibraryFromDisk();
    return library.count() > 0;
}
