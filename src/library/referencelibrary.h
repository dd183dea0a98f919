#pragma once

#include "core/librarypath.h"
#include "library/combinationsearch.h"
#include "library/matching/fingerprintmatcher.h"
#include "library/ramanlibraryspectrum.h"

#include <QStringList>
#include <QVector>

#include <memory>

class QIODevice;

// A library spectrum on the search grid (bin k lies at k * librarySearchStep), read in place.
struct GridView
{
    const float *values = nullptr;
    int firstBin = 0;
    int count = 0;
};

// One state of the reference library: every spectrum of the enabled library folders, with its
// names, chemistry, fingerprint and its copy on the search grid, all spectra in one array.
// The measured points themselves stay in the folders' caches and are read when asked for.
// Never changes once loaded, so searches on any thread read it without a lock; whoever holds the
// shared pointer keeps it alive across reloads (and the cache files it reads open).
class ReferenceLibrary
{
public:
    // Reads the enabled folders (blocks; the heavy steps run on the global pool). What the
    // searches need is kept in the user's cache folder per state of the folders' caches, so that
    // the next load reads one file.
    static std::shared_ptr<const ReferenceLibrary> load(const QVector<LibraryPath> &folders);
    static std::shared_ptr<const ReferenceLibrary> empty();

    int count() const { return m_infos.size(); }
    // An empty record outside 0..count() - 1.
    const rruff_infos &info(int index) const;
    const QVector<rruff_infos> &infos() const { return m_infos; }
    // The measured points as the library holds them; empty outside 0..count() - 1 or when the
    // cache cannot be read any more.
    RamanData<Wavenumbers> spectrumData(int index) const;
    // The spectrum on the search grid.
    RamanData<Wavenumbers> gridSpectrum(int index) const;
    GridView grid(int index) const;
    SpectrumFingerprint fingerprint(int index) const;
    int indexOfNumber(const QString &number) const;
    const QVector<SpectrumFingerprint> &fingerprints() const { return m_fingerprints; }
    const SortedLibraryPeaks &sortedPeaks() const { return m_sortedPeaks; }
    // The cache files read, to watch for rewrites.
    const QStringList &cacheFiles() const { return m_cacheFiles; }
    // Names this state of the library: the same for every load of the same caches; empty when a
    // folder was read without a cache.
    const QString &stateKey() const { return m_stateKey; }

    // The scans of the searches (library/identify/search.h), one score per library spectrum in
    // library order. Fingerprint score 0..10 (-1: either side has no peaks); empty for an
    // invalid fingerprint.
    QVector<double> fingerprintScores(const SpectrumFingerprint &measured,
                                      const FingerprintParameters &parameters) const;
    // Cosine times 10 of a spectrum on the search grid against every library spectrum over the
    // range both cover.
    QVector<double> correlations(const RamanData<Wavenumbers> &prepared) const;

    // The best pairs of library spectra whose combined fingerprint matches the measured one;
    // runs on the global thread pool and returns at once; the search keeps this library alive.
    QFuture<QVector<LinearCombinationResult>>
    startCombinationSearch(const SpectrumFingerprint &measured,
                           const FingerprintParameters &parameters) const;

private:
    struct CacheFile;
    // Where the points of a spectrum are: an entry of a cache file, or m_unCached.
    struct Source
    {
        qint32 file = -1; // index into m_files; -1: m_unCached[position]
        qint64 position = 0;
        qint64 size = 0;
    };

    void append(const RamanLibrarySpectrum &spectrum, const Source &source);
    void finish();
    bool write(QIODevice &device) const;
    bool read(QIODevice &device, const QStringList &libraryNames);

    QVector<rruff_infos> m_infos;
    QVector<Source> m_sources;
    QVector<RamanData<Wavenumbers>> m_unCached; // spectra of folders read without a cache
    std::vector<std::shared_ptr<CacheFile>> m_files;
    QVector<float> m_grid;            // every spectrum's grid values, one after another
    QVector<qint32> m_gridOffsets{0}; // spectrum i: m_grid[m_gridOffsets[i], m_gridOffsets[i + 1])
    QVector<qint32> m_firstBins;
    QVector<SpectrumFingerprint> m_fingerprints; // index-aligned with m_infos
    SortedLibraryPeaks m_sortedPeaks;            // of m_fingerprints
    QStringList m_cacheFiles;
    QString m_stateKey;
};
