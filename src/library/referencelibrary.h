#pragma once

#include "core/librarypath.h"
#include "library/combinationsearch.h"
#include "library/matching/fingerprintmatcher.h"
#include "library/ramanlibraryspectrum.h"
#include "spectrum/processingparameters.h"

#include <QStringList>
#include <QVector>

#include <memory>

// One state of the reference library: every spectrum of the enabled library folders, with its
// re-binned copy, fingerprint and chemistry. Never changes once loaded, so searches on any thread
// read it without a lock; whoever holds the shared pointer keeps it alive across reloads.
class ReferenceLibrary
{
public:
    // Bits of the `flags` of computeCorrelations.
    enum SearchFlag : unsigned {
        NormalizeToUnitNorm = 1, // else to maximum 1
        FingerprintSearch = 2,   // else full correlation
        ChooseSearchMethod = 4,  // replace the flags by chooseSearchMethod first
    };

    // Reads the enabled folders (blocks; the heavy steps run on the global pool).
    static std::shared_ptr<const ReferenceLibrary> load(const QVector<LibraryPath> &folders);
    static std::shared_ptr<const ReferenceLibrary> empty();

    int count() const { return m_spectra.size(); }
    rruff_infos info(int index) const;
    RamanData<Wavenumbers> spectrumData(int index) const;
    SpectrumFingerprint fingerprint(int index) const;
    int indexOfNumber(const QString &number) const;
    const QVector<RamanLibrarySpectrum> &spectra() const { return m_spectra; }
    const QVector<SpectrumFingerprint> &fingerprints() const { return m_fingerprints; }
    // The cache files read, to watch for rewrites.
    const QStringList &cacheFiles() const { return m_cacheFiles; }
    // Names this state of the library: the same for every load of the same caches; empty when a
    // folder was read without a cache.
    const QString &stateKey() const { return m_stateKey; }

    // One score (0..10, -1: none) per library spectrum, in library order; empty when the input
    // cannot be searched.
    QVector<double> computeCorrelations(const RamanData<Wavenumbers> &spectrum,
                                        const ProcessingParameters &processing, unsigned flags,
                                        const FingerprintParameters &parameters) const;
    QVector<double> computeCorrelations(const SpectrumFingerprint &measured,
                                        const FingerprintParameters &parameters) const;

    // The best pairs of library spectra whose combined fingerprint matches the measured one;
    // runs on the global thread pool and returns at once; the search keeps this library alive.
    QFuture<QVector<LinearCombinationResult>>
    startCombinationSearch(const SpectrumFingerprint &measured,
                           const FingerprintParameters &parameters) const;

    // 1 (full correlation) for spectra too noisy for peaks, else 2 (fingerprints).
    static unsigned chooseSearchMethod(const RamanData<Wavenumbers> &spectrum);
    // Re-binned and processed for comparison with the library; flag 1 picks unit norm.
    static RamanData<Wavenumbers> prepareSpectrum(const RamanData<Wavenumbers> &spectrum,
                                                  const ProcessingParameters &processing,
                                                  unsigned flags);

private:
    QVector<RamanLibrarySpectrum> m_spectra;
    QVector<SpectrumFingerprint> m_fingerprints; // index-aligned with m_spectra
    SortedLibraryPeaks m_sortedPeaks;            // of m_fingerprints
    QStringList m_cacheFiles;
    QString m_stateKey;
};
