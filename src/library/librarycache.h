#pragma once

#include "library/ramanlibraryspectrum.h"

#include <QVector>

#include <functional>

// Reading a library folder (text spectra and measurement sub-folders) and its cache.tar.
namespace LibraryCache {

QString cachePath(const QString &folder);

// The pairs (x, y) of a spectrum as stored in a cache entry; empty when x and y differ in length.
QByteArray encodeEntry(const RamanData<Wavenumbers> &data);
// Empty when the entry's x cannot be a spectrum's axis; *defect then tells why.
RamanData<Wavenumbers> decodeEntry(const QByteArray &bytes, QString *defect = nullptr);

// First 8 hex digits of the SHA-256 of the intensities' little-endian bytes.
QString spectrumIdentifier(const QVector<double> &intensities);

// Text spectra (names mapped, then parsed) followed by the spectra of measurement sub-folders.
QVector<RamanLibrarySpectrum> readLibraryDirectory(const QString &folder,
                                                   const SpectrumNameMapper &mapper = {});

// Builds folder/cache.tar from the folder's sources unless it exists. True when a cache is there.
bool ensureCache(const QString &folder, const SpectrumNameMapper &mapper = {});

struct CacheEntry
{
    QString name;
    QByteArray data;
};

// The non-empty entries of a cache in archive order; false when the archive cannot be read.
bool readCacheEntries(const QString &folder, QVector<CacheEntry> &entries);
// The same, handed over in batches of at most `batchSize` entries.
bool readCacheInBatches(const QString &folder, int batchSize,
                        const std::function<void(const QVector<CacheEntry> &)> &consume);

// The spectrum of a measurement folder placed in a library folder, named after its first
// measuring point's identification; empty when there is none.
RamanLibrarySpectrum loadMeasurementFolder(const QString &folder);

} // namespace LibraryCache
