#pragma once

#include "core/librarypath.h"
#include "library/combinationsearch.h"
#include "library/matching/fingerprintmatcher.h"
#include "library/ramanlibraryspectrum.h"
#include "spectrum/processingparameters.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QReadWriteLock>
#include <QVector>

#include <optional>

// The reference library: every spectrum of every enabled library folder, with its re-binned
// copy, fingerprint and chemistry. Reloads itself when a folder's cache.tar is rewritten.
class RLibrary : public QObject
{
    Q_OBJECT

public:
    // Bits of the `flags` of computeCorrelations.
    enum SearchFlag : unsigned {
        NormalizeToUnitNorm = 1, // else to maximum 1
        FingerprintSearch = 2,   // else full correlation
        ChooseSearchMethod = 4,  // replace the flags by chooseSearchMethod first
    };

    explicit RLibrary(QObject *parent = nullptr);
    ~RLibrary() override;

    // (Re)loads all enabled library folders; blocks, the heavy steps run on the global pool.
    void readLibraryFromDisk();
    // Folders to load instead of the configured ones (batch tools, tests).
    void setLibraryFolders(const QVector<LibraryPath> &folders) { m_folders = folders; }
    QVector<LibraryPath> libraryFolders() const;
    void clear();
    bool isLoading() const { return m_loading; }

    int count() const;
    rruff_infos info(int index) const;
    RamanData<Wavenumbers> spectrumData(int index) const;
    SpectrumFingerprint fingerprint(int index) const;
    int indexOfNumber(const QString &number) const;

    // Guards spectra and fingerprints. Searches take shallow copies under it, so a reload cannot
    // free what they read; scores are index-aligned with the library as it was then.
    QReadWriteLock &lock() const { return m_lock; }
    const QVector<RamanLibrarySpectrum> &spectra() const { return m_spectra; }
    const QVector<SpectrumFingerprint> &fingerprints() const { return m_fingerprints; }

    // One score (0..10, -1: none) per library spectrum, in library order; empty when the input
    // cannot be searched.
    QVector<double> computeCorrelations(const RamanData<Wavenumbers> &spectrum,
                                        const ProcessingParameters &processing, unsigned flags,
                                        const FingerprintParameters &parameters) const;
    QVector<double> computeCorrelations(const SpectrumFingerprint &measured,
                                        const FingerprintParameters &parameters) const;

    // The best pairs of library spectra whose combined fingerprint matches the measured one;
    // runs on the global thread pool and returns at once. The library must not be reloaded
    // before the results are used: they point into its spectra.
    QFuture<QVector<LinearCombinationResult>>
    startCombinationSearch(const SpectrumFingerprint &measured,
                           const FingerprintParameters &parameters) const;

    // 1 (full correlation) for spectra too noisy for peaks, else 2 (fingerprints).
    static unsigned chooseSearchMethod(const RamanData<Wavenumbers> &spectrum);
    // Re-binned and processed for comparison with the library; flag 1 picks unit norm.
    static RamanData<Wavenumbers> prepareSpectrum(const RamanData<Wavenumbers> &spectrum,
                                                  const ProcessingParameters &processing,
                                                  unsigned flags);

signals:
    void dataAboutToBeInvalidated();
    void dataChanged();

public slots:
    // Rebuilds a folder's cache from its sources; the rewritten file then reloads the library.
    Q_INVOKABLE void recreateArchive(const QString &path);

private:
    void onCacheFileChanged(const QString &path);
    void clearUnlocked();

    mutable QReadWriteLock m_lock{QReadWriteLock::Recursive};
    QVector<RamanLibrarySpectrum> m_spectra;
    QVector<SpectrumFingerprint> m_fingerprints; // index-aligned with m_spectra
    SortedLibraryPeaks m_sortedPeaks;            // of m_fingerprints
    bool m_loading = true;
    std::optional<QVector<LibraryPath>> m_folders;
    QFileSystemWatcher m_watcher;
};
