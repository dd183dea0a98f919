#include "library/rlibrary.h"

#include "core/logging.h"
#include "core/parallel.h"
#include "core/pathmanager.h"
#include "library/librarycache.h"
#include "library/matching/correlation.h"
#include "library/matching/fingerprintmatcher.h"
#include "library/matching/peaksearch.h"
#include "spectrum/processing.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QtConcurrent>

#include <numeric>

RLibrary::RLibrary(QObject *parent)
    : QObject(parent)
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &RLibrary::onCacheFileChanged);
}

RLibrary::~RLibrary() = default;

void RLibrary::readLibraryFromDisk()
{
    QWriteLocker locker(&m_lock);
    const QStringList watched = m_watcher.files();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    qCDebug(logDataLibraries) << "readLibraryFromDisk called";
    QElapsedTimer timer;
    timer.start();

    QStringList chemistryFiles{QStringLiteral(":/chemistry.csv"),
                               QStringLiteral(":/chemistry-extra.csv")};
    int folders = 0;
    for (const LibraryPath &library : libraryFolders()) {
        if (!library.enabled)
            continue;
        const QString folder = library.path;
        // Optional: most folders get their formulas from the built-in tables.
        if (QFileInfo::exists(folder + QStringLiteral("/chemistry.csv")))
            chemistryFiles.append(folder + QStringLiteral("/chemistry.csv"));
        ++folders;
        const bool cached = LibraryCache::ensureCache(folder);
        const QString cache = LibraryCache::cacheInUse(folder);
        if (!cache.isEmpty())
            m_watcher.addPath(cache);
        const QString libraryName = folder.section(QLatin1Char('/'), -1, -1);
        const auto decodeBatch
            = [this, &libraryName, &folder](const QVector<LibraryCache::CacheEntry> &batch) {
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
                      m_spectra.append(decoded[i]);
                  }
              };
        if (!cached && QFileInfo(folder).isDir()) {
            // No cache could be written anywhere: the sources themselves, slower but complete.
            for (RamanLibrarySpectrum &spectrum : LibraryCache::readLibraryDirectory(folder)) {
                if (spectrum.data.isEmpty())
                    continue;
                spectrum.info.library = libraryName;
                m_spectra.append(spectrum);
            }
        } else if (!LibraryCache::readCacheInBatches(folder, 512, decodeBatch)) {
            qCWarning(logDataLibraries) << "Failed to read library cache archive:" << folder;
        }
    }
    qCDebug(logDataLibraries) << "loaded:" << m_spectra.size() << "spectra from" << folders
                              << "directories";

    qCDebug(logDataLibraries) << "computing normalizations";
    QtConcurrent::blockingMap(m_spectra, [](RamanLibrarySpectrum &spectrum) {
        spectrum.resampledData = spectrum.data.resampled(librarySearchStep);
    });

    qCDebug(logDataLibraries) << "computing fingerprints";
    const FingerprintParameters libraryParameters = FingerprintParameters::librarySet();
    m_fingerprints = orderedMap<SpectrumFingerprint>(
        m_spectra, [&libraryParameters](const RamanLibrarySpectrum &spectrum) {
            return buildFingerprint(spectrum.resampledData.normalizedToMaximum(),
                                    libraryParameters);
        });
    m_sortedPeaks = SortedLibraryPeaks(m_fingerprints);

    qCDebug(logDataLibraries) << "loading chemistry data";
    ChemistryTable chemistry;
    for (const QString &file : qAsConst(chemistryFiles)) {
        qCDebug(logDataLibraries) << "loading:" << file;
        const ChemistryTable table = readChemistryFile(file);
        for (auto it = table.cbegin(); it != table.cend(); ++it)
            chemistry.insert(it.key(), it.value());
    }
    for (RamanLibrarySpectrum &spectrum : m_spectra) {
        const QString key = chemistryKey(spectrum.info.name);
        // An entry for this one spectrum wins over the mineral's general entry.
        Chemistry found = chemistry.value(key + QLatin1Char('-') + spectrum.info.number);
        if (found.elements.isEmpty())
            found = chemistry.value(key);
        spectrum.info.chemistry = found;
    }

    qCInfo(logDataLibraries) << "Raman library loaded successfully in" << timer.elapsed() << "ms";
    m_loading = false;
    QMetaObject::invokeMethod(this, &RLibrary::dataChanged, Qt::QueuedConnection);
}

QVector<LibraryPath> RLibrary::libraryFolders() const
{
    return m_folders ? *m_folders : PathManager::instance().libraryPaths();
}

void RLibrary::clear()
{
    emit dataAboutToBeInvalidated();
    QWriteLocker locker(&m_lock);
    clearUnlocked();
}

void RLibrary::clearUnlocked()
{
    m_spectra.clear();
    m_fingerprints.clear();
    m_sortedPeaks = SortedLibraryPeaks();
}

int RLibrary::count() const
{
    QReadLocker locker(&m_lock);
    return m_spectra.size();
}

rruff_infos RLibrary::info(int index) const
{
    QReadLocker locker(&m_lock);
    return index >= 0 && index < m_spectra.size() ? m_spectra.at(index).info : rruff_infos{};
}

RamanData<Wavenumbers> RLibrary::spectrumData(int index) const
{
    QReadLocker locker(&m_lock);
    return index >= 0 && index < m_spectra.size() ? m_spectra.at(index).data
                                                  : RamanData<Wavenumbers>{};
}

SpectrumFingerprint RLibrary::fingerprint(int index) const
{
    QReadLocker locker(&m_lock);
    Q_ASSERT(index >= 0 && index < m_fingerprints.size());
    return index >= 0 && index < m_fingerprints.size() ? m_fingerprints.at(index)
                                                       : SpectrumFingerprint{};
}

int RLibrary::indexOfNumber(const QString &number) const
{
    QReadLocker locker(&m_lock);
    for (int i = 0; i < m_spectra.size(); ++i) {
        if (m_spectra.at(i).info.number == number)
            return i;
    }
    return -1;
}

void RLibrary::recreateArchive(const QString &path)
{
    QFile::remove(LibraryCache::cacheInUse(path));
    LibraryCache::ensureCache(path);
}

void RLibrary::onCacheFileChanged(const QString &path)
{
    if (!QFileInfo::exists(path))
        return;
    qCInfo(logDataLibraries) << "Library cache file" << path << "changed on disk, reloading";
    emit dataAboutToBeInvalidated();
    {
        QWriteLocker locker(&m_lock);
        clearUnlocked();
    }
    readLibraryFromDisk();
}

RamanData<Wavenumbers> RLibrary::prepareSpectrum(const RamanData<Wavenumbers> &spectrum,
                                                 const ProcessingParameters &processing,
                                                 unsigned flags)
{
    ProcessingParameters parameters = processing;
    parameters.steps &= ~quint32(Normalize | NormalizeToMaximum);
    parameters.steps |= (flags & NormalizeToUnitNorm) ? Normalize : NormalizeToMaximum;
    return processed(spectrum.resampled(librarySearchStep), parameters);
}

unsigned RLibrary::chooseSearchMethod(const RamanData<Wavenumbers> &spectrum)
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

QVector<double> RLibrary::computeCorrelations(const RamanData<Wavenumbers> &spectrum,
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
        QVector<RamanLibrarySpectrum> spectra;
        {
            QReadLocker locker(&m_lock);
            spectra = m_spectra;
        }
        return orderedMap<double>(spectra, [&prepared](const RamanLibrarySpectrum &library) {
            return correlateSpectra(prepared, library.resampledData);
        });
    }
    const SpectrumFingerprint measured = buildFingerprint(prepared, parameters);
    if (!measured.isValid())
        return {};
    return computeCorrelations(measured, parameters);
}

QVector<double> RLibrary::computeCorrelations(const SpectrumFingerprint &measured,
                                              const FingerprintParameters &parameters) const
{
    if (!measured.isValid())
        return {};
    QReadLocker locker(&m_lock);
    const QVector<SpectrumFingerprint> fingerprints = m_fingerprints;
    const SortedLibraryPeaks sorted = m_sortedPeaks;
    locker.unlock();
    const FingerprintMatcher matcher(measured, parameters);
    QVector<int> indices(fingerprints.size());
    std::iota(indices.begin(), indices.end(), 0);
    return orderedMap<double>(
        indices, [&](int i) { return matcher.match(sorted.view(i, fingerprints.at(i))); });
}

QFuture<QVector<LinearCombinationResult>>
RLibrary::startCombinationSearch(const SpectrumFingerprint &measured,
                                 const FingerprintParameters &parameters) const
{
    QReadLocker locker(&m_lock);
    return ::startCombinationSearch(m_spectra, m_fingerprints, m_sortedPeaks, measured, parameters);
}
