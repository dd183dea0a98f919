#include "library/referencelibrary.h"

#include "core/logging.h"
#include "core/parallel.h"
#include "core/pathmanager.h"
#include "library/librarycache.h"
#include "library/matching/correlation.h"
#include "library/matching/fingerprintmatcher.h"
#include "library/matching/peaksearch.h"
#include "spectrum/processing.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QtConcurrent>

#include <numeric>

std::shared_ptr<const ReferenceLibrary> ReferenceLibrary::empty()
{
    static const auto none = std::make_shared<const ReferenceLibrary>();
    return none;
}

std::shared_ptr<const ReferenceLibrary> ReferenceLibrary::load(const QVector<LibraryPath> &folders)
{
    auto library = std::make_shared<ReferenceLibrary>();
    QVector<RamanLibrarySpectrum> &spectra = library->m_spectra;
    QElapsedTimer timer;
    timer.start();

    QStringList chemistryFiles{QStringLiteral(":/chemistry.csv"),
                               QStringLiteral(":/chemistry-extra.csv")};
    bool readWithoutCache = false;
    int folderCount = 0;
    for (const LibraryPath &path : folders) {
        if (!path.enabled)
            continue;
        const QString folder = path.path;
        // Optional: most folders get their formulas from the built-in tables.
        if (QFileInfo::exists(folder + QStringLiteral("/chemistry.csv")))
            chemistryFiles.append(folder + QStringLiteral("/chemistry.csv"));
        ++folderCount;
        const bool cached = LibraryCache::ensureCache(folder);
        const QString cache = LibraryCache::cacheInUse(folder);
        if (!cache.isEmpty())
            library->m_cacheFiles.append(cache);
        else
            readWithoutCache = true;
        const QString libraryName = folder.section(QLatin1Char('/'), -1, -1);
        const auto decodeBatch
            = [&spectra, &libraryName, &folder](const QVector<LibraryCache::CacheEntry> &batch) {
                  const QVector<RamanLibrarySpectrum> decoded = orderedMap<RamanLibrarySpectrum>(
                      batch, [&libraryName](const LibraryCache::CacheEntry &entry) {
                          RamanLibrarySpectrum spectrum;
                          spectrum.info = parseSpectrumName(entry.name);
                          spectrum.info.library = libraryName;
                          spectrum.data = LibraryCache::decodeEntry(entry.data);
                          return spectrum;
                      });
                  for (int i = 0; i < decoded.size(); ++i) {
                      // One damaged entry must not reach the numerics, nor hide the others.
                      if (decoded[i].data.isEmpty()) {
                          QString defect;
                          LibraryCache::decodeEntry(batch[i].data, &defect);
                          qCWarning(logDataLibraries).noquote()
                              << "Skipping library spectrum" << batch[i].name << "in" << folder
                              << ":" << (defect.isEmpty() ? QStringLiteral("no data") : defect);
                          continue;
                      }
                      spectra.append(decoded[i]);
                  }
              };
        if (!cached && QFileInfo(folder).isDir()) {
            // No cache could be written anywhere: the sources themselves, slower but complete.
            for (RamanLibrarySpectrum &spectrum : LibraryCache::readLibraryDirectory(folder)) {
                if (spectrum.data.isEmpty())
                    continue;
                spectrum.info.library = libraryName;
                spectra.append(spectrum);
            }
        } else if (!LibraryCache::readCacheInBatches(folder, 512, decodeBatch)) {
            qCWarning(logDataLibraries) << "Failed to read library cache archive:" << folder;
        }
    }
    qCDebug(logDataLibraries) << "loaded:" << spectra.size() << "spectra from" << folderCount
                              << "directories";

    qCDebug(logDataLibraries) << "computing normalizations";
    QtConcurrent::blockingMap(spectra, [](RamanLibrarySpectrum &spectrum) {
        spectrum.resampledData = spectrum.data.resampled(librarySearchStep);
    });

    qCDebug(logDataLibraries) << "computing fingerprints";
    const FingerprintParameters libraryParameters = FingerprintParameters::librarySet();
    library->m_fingerprints = orderedMap<SpectrumFingerprint>(
        spectra, [&libraryParameters](const RamanLibrarySpectrum &spectrum) {
            return buildFingerprint(spectrum.resampledData.normalizedToMaximum(),
                                    libraryParameters);
        });
    library->m_sortedPeaks = SortedLibraryPeaks(library->m_fingerprints);

    qCDebug(logDataLibraries) << "loading chemistry data";
    ChemistryTable chemistry;
    for (const QString &file : qAsConst(chemistryFiles)) {
        qCDebug(logDataLibraries) << "loading:" << file;
        const ChemistryTable table = readChemistryFile(file);
        for (auto it = table.cbegin(); it != table.cend(); ++it)
            chemistry.insert(it.key(), it.value());
    }
    for (RamanLibrarySpectrum &spectrum : spectra) {
        const QString key = chemistryKey(spectrum.info.name);
        // An entry for this one spectrum wins over the mineral's general entry.
        Chemistry found = chemistry.value(key + QLatin1Char('-') + spectrum.info.number);
        if (found.elements.isEmpty())
            found = chemistry.value(key);
        spectrum.info.chemistry = found;
    }

    if (!readWithoutCache && !spectra.isEmpty()) {
        QCryptographicHash key(QCryptographicHash::Sha1);
        for (const QString &cache : qAsConst(library->m_cacheFiles)) {
            const QFileInfo file(cache);
            key.addData((file.absoluteFilePath() + QLatin1Char(' ') + QString::number(file.size())
                         + QLatin1Char(' ')
                         + QString::number(file.lastModified().toMSecsSinceEpoch())
                         + QLatin1Char('\n'))
                            .toUtf8());
        }
        library->m_stateKey = QString::fromLatin1(key.result().toHex());
    }
    qCInfo(logDataLibraries) << "Raman library loaded successfully in" << timer.elapsed() << "ms";
    return library;
}

rruff_infos ReferenceLibrary::info(int index) const
{
    return index >= 0 && index < m_spectra.size() ? m_spectra.at(index).info : rruff_infos{};
}

RamanData<Wavenumbers> ReferenceLibrary::spectrumData(int index) const
{
    return index >= 0 && index < m_spectra.size() ? m_spectra.at(index).data
                                                  : RamanData<Wavenumbers>{};
}

SpectrumFingerprint ReferenceLibrary::fingerprint(int index) const
{
    return index >= 0 && index < m_fingerprints.size() ? m_fingerprints.at(index)
                                                       : SpectrumFingerprint{};
}

int ReferenceLibrary::indexOfNumber(const QString &number) const
{
    for (int i = 0; i < m_spectra.size(); ++i) {
        if (m_spectra.at(i).info.number == number)
            return i;
    }
    return -1;
}

RamanData<Wavenumbers> ReferenceLibrary::prepareSpectrum(const RamanData<Wavenumbers> &spectrum,
                                                         const ProcessingParameters &processing,
                                                         unsigned flags)
{
    ProcessingParameters parameters = processing;
    parameters.steps &= ~quint32(Normalize | NormalizeToMaximum);
    parameters.steps |= (flags & NormalizeToUnitNorm) ? Normalize : NormalizeToMaximum;
    return processed(spectrum.resampled(librarySearchStep), parameters);
}

unsigned ReferenceLibrary::chooseSearchMethod(const RamanData<Wavenumbers> &spectrum)
{
    const SpectrumFingerprint fingerprint
        = buildFingerprint(spectrum.normalizedToMaximum(), FingerprintParameters());
    if (fingerprint.peaks.isEmpty())
        return NormalizeToUnitNorm;
    const double mean
        = std::accumulate(spectrum.y.cbegin(), spectrum.y.cend(), 0.0) / spectrum.y.size();
    qCDebug(logDataAlgorithms) << "comparing average to noise estimate:" << mean
                               << fingerprint.noise;
    return 20.0 * fingerprint.noise > mean ? NormalizeToUnitNorm : FingerprintSearch;
}

QVector<double> ReferenceLibrary::computeCorrelations(const RamanData<Wavenumbers> &spectrum,
                                                      const ProcessingParameters &processing,
                                                      unsigned flags,
                                                      const FingerprintParameters &parameters) const
{
    if (spectrum.isEmpty() || spectrum.size() < 0)
        return {};
    if (flags & ChooseSearchMethod)
        flags = chooseSearchMethod(spectrum);
    const RamanData<Wavenumbers> prepared = prepareSpectrum(spectrum, processing, flags);
    if (!(flags & FingerprintSearch)) {
        if (prepared.isEmpty())
            return {};
        return orderedMap<double>(m_spectra, [&prepared](const RamanLibrarySpectrum &library) {
            return correlateSpectra(prepared, library.resampledData);
        });
    }
    const SpectrumFingerprint measured = buildFingerprint(prepared, parameters);
    if (!measured.isValid())
        return {};
    return computeCorrelations(measured, parameters);
}

QVector<double> ReferenceLibrary::computeCorrelations(const SpectrumFingerprint &measured,
                                                      const FingerprintParameters &parameters) const
{
    if (!measured.isValid())
        return {};
    const FingerprintMatcher matcher(measured, parameters);
    QVector<int> indices(m_fingerprints.size());
    std::iota(indices.begin(), indices.end(), 0);
    return orderedMap<double>(
        indices, [&](int i) { return matcher.match(m_sortedPeaks.view(i, m_fingerprints.at(i))); });
}

QFuture<QVector<LinearCombinationResult>>
ReferenceLibrary::startCombinationSearch(const SpectrumFingerprint &measured,
                                         const FingerprintParameters &parameters) const
{
    return ::startCombinationSearch(m_spectra, m_fingerprints, m_sortedPeaks, measured, parameters);
}
