#pragma once

#include "library/ramanlibraryspectrum.h"

#include <QVector>

#include <functional>

// Reading a library folder (text spectra and measurement sub-folders) and its cache.tar.
namespace LibraryCache {

// The cache inside the folder.
QString cachePath(const QString &folder);
// Where the cache of a folder that cannot hold one goes: the user's cache folder, named after the
// folder's path and the names, sizes and times of its sources, so that a changed folder gets a
// new one.
QString userCachePath(const QString &folder);
// The cache a load reads: the folder's own, else the user's one of the folder as it is now;
// empty when there is neither.
QString cacheInUse(const QString &folder);

// The pairs (x, y) of a spectrum as stored in a cache entry; empty when x and y differ in length.
QByteArray encodeEntry(const RamanData<Wavenumbers> &data);
// Empty when the entry's x cannot be a spectrum's axis; *defect then tells why.
RamanData<Wavenumbers> decodeEntry(const QByteArray &bytes, QString *defect = nullptr);

// First 8 hex digits of the SHA-256 of the intensities' little-endian bytes.
QString spectrumIdentifier(const QVector<double> &intensities);

// Text spectra (names mapped, then parsed) followed by the spectra of measurement sub-folders.
QVector<RamanLibrarySpectrum> readLibraryDirectory(const QString &folder,
                                                   const SpectrumNameMapper &mapper = {});

// Builds folder/cache.tar from the folder's sources unless a cache is in use; where the folder
// cannot be written, the user's cache instead. True when a cache is there; false when none could
// be written (the folder is then read without one) or the folder does not exist.
bool ensureCache(const QString &folder, const SpectrumNameMapper &mapper = {});
// Replaces the cache in use by one built from the folder's sources as they are now.
bool rebuildCache(const QString &folder);

struct CacheEntry
{
    QString name;
    QByteArray data;
    qint64 position = 0; // of the data in the cache file
};

// The non-empty entries of the cache in use in archive order; false when it cannot be read.
bool readCacheEntries(const QString &folder, QVector<CacheEntry> &entries);
// The same, handed over in batches of at most `batchSize` entries.
bool readCacheInBatches(const QString &folder, int batchSize,
                        const std::function<void(const QVector<CacheEntry> &)> &consume);

// The spectrum of a measurement folder placed in a library folder, named after its first
// measuring point's identification; empty when there is none.
RamanLibrarySpectrum loadMeasurementFolder(const QString &folder);

} // namespace LibraryCache
