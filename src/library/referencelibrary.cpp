#include "library/referencelibrary.h"

#include "core/logging.h"
#include "core/parallel.h"
#include "library/librarycache.h"
#include "library/matching/fingerprintmatcher.h"
#include "library/matching/peaksearch.h"
#include "library/storedarrays.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMutex>

#include <cmath>
#include <numeric>

struct ReferenceLibrary::CacheFile
{
    QMutex mutex;
    QFile file;
};

namespace {

constexpr qint64 storedMagic = 0x524c4232; // "RLB2"; a new layout takes a new number

int binOf(double x)
{
    return int(std::lround(x / librarySearchStep));
}

// What a search needs of one spectrum, made on a worker thread.
struct PreparedSpectrum
{
    RamanLibrarySpectrum spectrum;
    qint64 position = 0;
    qint64 size = 0;
    QVector<float> grid;
    int firstBin = 0;
    SpectrumFingerprint fingerprint;
};

PreparedSpectrum prepareLibrarySpectrum(RamanLibrarySpectrum spectrum, qint64 position = 0,
                                        qint64 size = 0)
{
    PreparedSpectrum p;
    const RamanData<Wavenumbers> resampled = spectrum.data.resampled(librarySearchStep);
    p.fingerprint
        = buildFingerprint(resampled.normalizedToMaximum(), FingerprintParameters::librarySet());
    if (!resampled.isEmpty()) {
        p.firstBin = binOf(resampled.x.first());
        p.grid = QVector<float>(resampled.y.cbegin(), resampled.y.cend());
    }
    p.spectrum = std::move(spectrum);
    p.position = position;
    p.size = size;
    return p;
}

QString storePath(const QString &stateKey)
{
    return StoredArrays::pathFor(QStringLiteral("library-search"), stateKey);
}

// Dot product of a query with library values, and the squares of both.
struct Products
{
    float cross = 0.0f;
    float library = 0.0f;
    float query = 0.0f;
};

Products products(const float *q, const float *l, int n)
{
    // Independent lanes let the compiler vectorise without reassociating.
    float c[8] = {}, ll[8] = {}, qq[8] = {};
    int k = 0;
    for (; k + 8 <= n; k += 8) {
        for (int lane = 0; lane < 8; ++lane) {
            const float a = q[k + lane];
            const float b = float(l[k + lane]);
            c[lane] += a * b;
            ll[lane] += b * b;
            qq[lane] += a * a;
        }
    }
    Products p;
    for (int lane = 0; lane < 8; ++lane) {
        p.cross += c[lane];
        p.library += ll[lane];
        p.query += qq[lane];
    }
    for (; k < n; ++k) {
        p.cross += q[k] * float(l[k]);
        p.library += float(l[k]) * float(l[k]);
        p.query += q[k] * q[k];
    }
    return p;
}

} // namespace

std::shared_ptr<const ReferenceLibrary> ReferenceLibrary::empty()
{
    static const auto none = std::make_shared<const ReferenceLibrary>();
    return none;
}

void ReferenceLibrary::append(const RamanLibrarySpectrum &spectrum, const Source &source)
{
    m_infos.append(spectrum.info);
    m_sources.append(source);
    if (source.file < 0)
        m_unCached.append(spectrum.data);
}

void ReferenceLibrary::finish()
{
    m_sortedPeaks = SortedLibraryPeaks(m_fingerprints);
}

std::shared_ptr<const ReferenceLibrary> ReferenceLibrary::load(const QVector<LibraryPath> &folders)
{
    auto library = std::make_shared<ReferenceLibrary>();
    QElapsedTimer timer;
    timer.start();

    QStringList chemistryFiles{QStringLiteral(":/chemistry.csv"),
                               QStringLiteral(":/chemistry-extra.csv")};
    QStringList cachedFolders, libraryNames, unCachedFolders;
    for (const LibraryPath &path : folders) {
        if (!path.enabled)
            continue;
        const QString folder = path.path;
        // Optional: most folders get their formulas from the built-in tables.
        if (QFileInfo::exists(folder + QStringLiteral("/chemistry.csv")))
            chemistryFiles.append(folder + QStringLiteral("/chemistry.csv"));
        const bool cached = LibraryCache::ensureCache(folder);
        const QString cache = LibraryCache::cacheInUse(folder);
        if (cached && !cache.isEmpty()) {
            library->m_cacheFiles.append(cache);
            cachedFolders.append(folder);
            libraryNames.append(folder.section(QLatin1Char('/'), -1, -1));
        } else if (QFileInfo(folder).isDir()) {
            unCachedFolders.append(folder);
        }
    }
    for (const QString &cache : qAsConst(library->m_cacheFiles)) {
        auto file = std::make_shared<CacheFile>();
        file->file.setFileName(cache);
        if (!file->file.open(QIODevice::ReadOnly))
            qCWarning(logDataLibraries) << "cannot open library cache" << cache;
        library->m_files.push_back(file);
    }

    if (unCachedFolders.isEmpty() && !library->m_cacheFiles.isEmpty()) {
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

    bool stored = false;
    if (!library->m_stateKey.isEmpty()) {
        QFile file(storePath(library->m_stateKey));
        if (file.open(QIODevice::ReadOnly)) {
            stored = library->read(file, libraryNames);
            if (!stored) {
                qCInfo(logDataLibraries)
                    << "stored library search data unusable, building again:" << file.fileName();
                const QStringList kept = library->m_cacheFiles;
                const QString key = library->m_stateKey;
                auto files = library->m_files;
                *library = ReferenceLibrary();
                library->m_cacheFiles = kept;
                library->m_stateKey = key;
                library->m_files = files;
            }
        }
    }

    if (!stored) {
        // Prepared in batches on all cores, so that only a slice of the points is in memory.
        const auto take = [&library](const QVector<PreparedSpectrum> &batch, int file) {
            for (const PreparedSpectrum &p : batch) {
                library->append(p.spectrum,
                                {file, file < 0 ? library->m_unCached.size() : p.position, p.size});
                library->m_grid += p.grid;
                library->m_gridOffsets.append(library->m_grid.size());
                library->m_firstBins.append(p.firstBin);
                library->m_fingerprints.append(p.fingerprint);
            }
        };
        for (int f = 0; f < cachedFolders.size(); ++f) {
            const QString &folder = cachedFolders[f];
            const auto decodeBatch = [&](const QVector<LibraryCache::CacheEntry> &batch) {
                QVector<PreparedSpectrum> prepared = orderedMap<PreparedSpectrum>(
                    batch, [](const LibraryCache::CacheEntry &entry) {
                        RamanLibrarySpectrum spectrum;
                        spectrum.info = parseSpectrumName(entry.name);
                        spectrum.data = LibraryCache::decodeEntry(entry.data);
                        return prepareLibrarySpectrum(std::move(spectrum), entry.position,
                                                      entry.data.size());
                    });
                QVector<PreparedSpectrum> kept;
                for (int i = 0; i < prepared.size(); ++i) {
                    // One damaged entry must not reach the numerics, nor hide the others.
                    if (prepared[i].spectrum.data.isEmpty()) {
                        QString defect;
                        LibraryCache::decodeEntry(batch[i].data, &defect);
                        qCWarning(logDataLibraries).noquote()
                            << "Skipping library spectrum" << batch[i].name << "in" << folder << ":"
                            << (defect.isEmpty() ? QStringLiteral("no data") : defect);
                        continue;
                    }
                    prepared[i].spectrum.data = {}; // read from the cache when asked for
                    prepared[i].spectrum.info.library = libraryNames[f];
                    kept.append(std::move(prepared[i]));
                }
                take(kept, f);
            };
            if (!LibraryCache::readCacheInBatches(folder, 512, decodeBatch))
                qCWarning(logDataLibraries) << "Failed to read library cache archive:" << folder;
        }
        for (const QString &folder : qAsConst(unCachedFolders)) {
            // No cache could be written anywhere: the sources themselves, slower but complete.
            const QString libraryName = folder.section(QLatin1Char('/'), -1, -1);
            QVector<RamanLibrarySpectrum> spectra;
            for (RamanLibrarySpectrum &spectrum : LibraryCache::readLibraryDirectory(folder)) {
                if (spectrum.data.isEmpty())
                    continue;
                spectrum.info.library = libraryName;
                spectra.append(spectrum);
            }
            take(orderedMap<PreparedSpectrum>(
                     spectra,
                     [](const RamanLibrarySpectrum &s) { return prepareLibrarySpectrum(s); }),
                 -1);
        }
        if (!library->m_stateKey.isEmpty() && library->count() > 0) {
            StoredArrays::store(storePath(library->m_stateKey),
                                [&library](QIODevice &file) { return library->write(file); });
        }
    }
    library->finish();
    qCDebug(logDataLibraries) << "loaded:" << library->count() << "spectra";

    ChemistryTable chemistry;
    for (const QString &file : qAsConst(chemistryFiles)) {
        const ChemistryTable table = readChemistryFile(file);
        for (auto it = table.cbegin(); it != table.cend(); ++it)
            chemistry.insert(it.key(), it.value());
    }
    for (rruff_infos &info : library->m_infos) {
        const QString key = chemistryKey(info.name);
        // An entry for this one spectrum wins over the mineral's general entry.
        Chemistry found = chemistry.value(key + QLatin1Char('-') + info.number);
        if (found.elements.isEmpty())
            found = chemistry.value(key);
        info.chemistry = found;
    }
    qCInfo(logDataLibraries) << "Raman library loaded successfully in" << timer.elapsed() << "ms";
    return library;
}

bool ReferenceLibrary::write(QIODevice &device) const
{
    QVector<qint32> files, nameLengths;
    QVector<qint64> positions, sizes;
    QByteArray names;
    for (int i = 0; i < count(); ++i) {
        files.append(m_sources[i].file);
        positions.append(m_sources[i].position);
        sizes.append(m_sources[i].size);
        const QByteArray name = cacheEntryName(m_infos[i]).toUtf8();
        nameLengths.append(name.size());
        names += name;
    }
    using namespace StoredArrays;
    return StoredArrays::write(device, QVector<qint64>{storedMagic, count()})
           && StoredArrays::write(device, files) && StoredArrays::write(device, positions)
           && StoredArrays::write(device, sizes) && StoredArrays::write(device, nameLengths)
           && StoredArrays::write(device, QVector<char>(names.cbegin(), names.cend()))
           && StoredArrays::write(device, m_firstBins) && StoredArrays::write(device, m_gridOffsets)
           && StoredArrays::write(device, m_grid) && writeFingerprints(device, m_fingerprints);
}

bool ReferenceLibrary::read(QIODevice &device, const QStringList &libraryNames)
{
    using StoredArrays::read;
    const qint64 limit = device.size();
    QVector<qint64> header;
    if (!read(device, header, 2) || header.size() != 2 || header[0] != storedMagic || header[1] < 0
        || header[1] > limit)
        return false;
    const int n = int(header[1]);
    QVector<qint32> files, nameLengths;
    QVector<qint64> positions, sizes;
    QVector<char> names;
    if (!read(device, files, n) || files.size() != n || !read(device, positions, n)
        || positions.size() != n || !read(device, sizes, n) || sizes.size() != n
        || !read(device, nameLengths, n) || nameLengths.size() != n || !read(device, names, limit)
        || !read(device, m_firstBins, n) || m_firstBins.size() != n
        || !read(device, m_gridOffsets, n + 1) || m_gridOffsets.size() != n + 1
        || !read(device, m_grid, limit)
        || !StoredArrays::readFingerprints(device, n, m_fingerprints))
        return false;
    if (m_gridOffsets[0] != 0 || m_gridOffsets[n] != m_grid.size())
        return false;
    qint64 nameBytes = 0;
    for (int i = 0; i < n; ++i) {
        if (files[i] < 0 || files[i] >= libraryNames.size() || nameLengths[i] < 0
            || m_gridOffsets[i + 1] < m_gridOffsets[i])
            return false;
        nameBytes += nameLengths[i];
    }
    if (nameBytes != names.size())
        return false;
    m_infos.reserve(n);
    m_sources.reserve(n);
    for (int i = 0, first = 0; i < n; first += nameLengths[i], ++i) {
        rruff_infos info
            = parseSpectrumName(QString::fromUtf8(names.constData() + first, nameLengths[i]));
        info.library = libraryNames[files[i]];
        m_infos.append(info);
        m_sources.append({files[i], positions[i], sizes[i]});
    }
    return true;
}

const rruff_infos &ReferenceLibrary::info(int index) const
{
    static const rruff_infos none;
    return index >= 0 && index < m_infos.size() ? m_infos.at(index) : none;
}

RamanData<Wavenumbers> ReferenceLibrary::spectrumData(int index) const
{
    if (index < 0 || index >= m_sources.size())
        return {};
    const Source &source = m_sources.at(index);
    if (source.file < 0)
        return m_unCached.value(int(source.position));
    CacheFile &cache = *m_files.at(source.file);
    QByteArray bytes;
    {
        QMutexLocker lock(&cache.mutex);
        if (cache.file.isOpen() && cache.file.seek(source.position))
            bytes = cache.file.read(source.size);
    }
    if (bytes.size() != source.size) {
        qCWarning(logDataLibraries)
            << "cannot read library spectrum" << index << "from" << cache.file.fileName();
        return {};
    }
    return LibraryCache::decodeEntry(bytes);
}

GridView ReferenceLibrary::grid(int index) const
{
    if (index < 0 || index >= m_firstBins.size())
        return {};
    const int offset = m_gridOffsets.at(index);
    return {m_grid.constData() + offset, m_firstBins.at(index),
            m_gridOffsets.at(index + 1) - offset};
}

RamanData<Wavenumbers> ReferenceLibrary::gridSpectrum(int index) const
{
    const GridView view = grid(index);
    RamanData<Wavenumbers> data{QVector<double>(view.count), QVector<double>(view.count)};
    for (int k = 0; k < view.count; ++k) {
        data.x[k] = (view.firstBin + k) * librarySearchStep;
        data.y[k] = view.values[k];
    }
    return data;
}

SpectrumFingerprint ReferenceLibrary::fingerprint(int index) const
{
    return index >= 0 && index < m_fingerprints.size() ? m_fingerprints.at(index)
                                                       : SpectrumFingerprint{};
}

int ReferenceLibrary::indexOfNumber(const QString &number) const
{
    for (int i = 0; i < m_infos.size(); ++i) {
        if (m_infos.at(i).number == number)
            return i;
    }
    return -1;
}

QVector<double> ReferenceLibrary::correlations(const RamanData<Wavenumbers> &prepared) const
{
    QVector<double> scores(count(), 0.0);
    if (prepared.isEmpty() || prepared.size() < 0)
        return scores;
    const QVector<float> query(prepared.y.cbegin(), prepared.y.cend());
    const int queryFirst = binOf(prepared.x.first());
    const int queryEnd = queryFirst + query.size();
    forSlices(count(), 1024, [&](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            const GridView view = grid(i);
            const int first = std::max(queryFirst, view.firstBin);
            const int n = std::min(queryEnd, view.firstBin + view.count) - first;
            if (n <= 0)
                continue;
            const Products p = products(query.constData() + (first - queryFirst),
                                        view.values + (first - view.firstBin), n);
            if (p.library > 0.0f && p.query > 0.0f)
                scores[i]
                    = 10.0 * p.cross / (std::sqrt(double(p.library)) * std::sqrt(double(p.query)));
        }
    });
    return scores;
}

QVector<double> ReferenceLibrary::fingerprintScores(const SpectrumFingerprint &measured,
                                                    const FingerprintParameters &parameters) const
{
    if (!measured.isValid())
        return {};
    const FingerprintMatcher matcher(measured, parameters);
    QVector<double> scores(count());
    forSlices(count(), 1024, [&](int begin, int end) {
        for (int i = begin; i < end; ++i)
            scores[i] = matcher.match(m_sortedPeaks.view(i, m_fingerprints.at(i)));
    });
    return scores;
}

QFuture<QVector<LinearCombinationResult>>
ReferenceLibrary::startCombinationSearch(const SpectrumFingerprint &measured,
                                         const FingerprintParameters &parameters) const
{
    return ::startCombinationSearch(m_infos, m_fingerprints, m_sortedPeaks, measured, parameters);
}
