#pragma once

// Loading copies of read-only reference folders, so that caches can be built beside them.

#include "library/libraryloader.h"

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

// A loader of a copy of the first `count` (-1: all) reference spectra of a read-only folder,
// loaded; null when nothing could be loaded.
inline std::shared_ptr<LibraryLoader> loaderOfCopy(const QString &from, const QString &copy,
                                                   int count = -1)
{
    if (!copyLibraryFolder(from, copy, count))
        return nullptr;
    auto loader = std::make_shared<LibraryLoader>();
    LibraryPath path;
    path.path = copy;
    loader->setLibraryFolders({path});
    loader->loadNow();
    return loader->library()->count() > 0 ? loader : nullptr;
}

// The same, the library itself into `library`.
inline bool loadLibraryCopy(const QString &from, const QString &copy, ReferenceLibrary &library,
                            int count = -1)
{
    const std::shared_ptr<LibraryLoader> loader = loaderOfCopy(from, copy, count);
    if (loader)
        library = *loader->library();
    return loader != nullptr;
}
