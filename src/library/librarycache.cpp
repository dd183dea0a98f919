#include "library/librarycache.h"

#include "core/logging.h"
#include "core/parallel.h"
#include "spectrum/spectrumaxis.h"
#include "spectrum/spectrumfile.h"
#include "storage/savedata.h"

#include <KTar>

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QtConcurrent>
#include <QtEndian>

#include <algorithm>

namespace LibraryCache {

QString cachePath(const QString &folder)
{
    return folder + QStringLiteral("/cache.tar");
}

QByteArray encodeEntry(const RamanData<Wavenumbers> &data)
{
    QByteArray bytes;
    if (data.x.size() != data.y.size())
        return bytes;
    bytes.reserve(data.x.size() * 16);
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << data;
    return bytes;
}

RamanData<Wavenumbers> decodeEntry(const QByteArray &bytes, QString *defect)
{
    // The data-stream form (big-endian pairs), decoded without a stream: loads decode millions.
    const int pairs = bytes.size() / 16;
    RamanData<Wavenumbers> data{QVector<double>(pairs), QVector<double>(pairs)};
    const char *p = bytes.constData();
    double *x = data.x.data();
    double *y = data.y.data();
    for (int i = 0; i < pairs; ++i, p += 16) {
        x[i] = qFromBigEndian<double>(p);
        y[i] = qFromBigEndian<double>(p + 8);
    }
    const QString why = spectrumAxisDefect(data.x);
    if (defect)
        *defect = why;
    return why.isEmpty() ? data : RamanData<Wavenumbers>{};
}

QString spectrumIdentifier(const QVector<double> &intensities)
{
    QByteArray bytes(intensities.size() * int(sizeof(double)), Qt::Uninitialized);
    qToLittleEndian<double>(intensities.constData(), intensities.size(), bytes.data());
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(8));
}

RamanLibrarySpectrum loadMeasurementFolder(const QString &folder)
{
    RamanLibrarySpectrum spectrum;
    SaveData data;
    if (!data.load(folder, SaveDataParts(Metadata | SpectralData)) || data.sectorCount() == 0)
        return spectrum;
    const SaveDataSector &first = data.sectors().constFirst();
    spectrum.data = first.processedSpectrum;
    spectrum.info = parseSpectrumName(
        QStringLiteral("%1__BXXXXXX__Raman__532__0__unoriented__Raman_Data_Processed__%2.txt")
            .arg(first.identificationData.mineral_final_identification,
                 spectrumIdentifier(spectrum.data.y)));
    return spectrum;
}

QVector<RamanLibrarySpectrum> readLibraryDirectory(const QString &folder,
                                                   const SpectrumNameMapper &mapper)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        qCWarning(logDataLibraries) << "no such directory:" << folder;
        return {};
    }
    struct SourceFileMetadata
    {
        QString file;
        QString mapped;
    };
    QVector<SourceFileMetadata> sources;
    const QStringList files = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Unsorted);
    sources.reserve(files.size());
    for (const QString &file : files)
        sources.append({file, mapper ? mapper(file) : file});
    qCDebug(logDataLibraries) << "reading" << sources.size() << "files from library";

    QVector<RamanLibrarySpectrum> spectra
        = orderedMap<RamanLibrarySpectrum>(sources, [&dir](const SourceFileMetadata &source) {
              RamanLibrarySpectrum spectrum;
              spectrum.data = loadSpectrumFromCSV(dir.filePath(source.file));
              spectrum.info = parseSpectrumName(source.mapped);
              return spectrum;
          });

    QStringList subFolders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (QString &sub : subFolders)
        sub = dir.filePath(sub);
    const QVector<RamanLibrarySpectrum> measured
        = orderedMap<RamanLibrarySpectrum>(subFolders, &loadMeasurementFolder);
    for (const RamanLibrarySpectrum &spectrum : measured) {
        if (!spectrum.data.x.isEmpty() || !spectrum.data.y.isEmpty())
            spectra.append(spectrum);
    }
    return spectra;
}

bool ensureCache(const QString &folder, const SpectrumNameMapper &mapper)
{
    const QString cache = cachePath(folder);
    if (QFileInfo::exists(cache))
        return true;
    const QVector<RamanLibrarySpectrum> spectra = readLibraryDirectory(folder, mapper);
    if (!QDir(folder).exists())
        return false;

    // Entries go straight into the archive; a half-written archive never replaces a good one.
    const QString temporary = cache + QStringLiteral(".tmp");
    QFile::remove(temporary);
    {
        KTar tar(temporary, QStringLiteral("application/x-tar"));
        if (!tar.open(QIODevice::WriteOnly)) {
            qCWarning(logDataLibraries)
                << "failed to create library cache" << temporary << ":" << tar.errorString();
            return false;
        }
        const QDateTime now = QDateTime::currentDateTime();
        for (const RamanLibrarySpectrum &spectrum : spectra) {
            if (!tar.writeFile(cacheEntryName(spectrum.info), encodeEntry(spectrum.data), 0100644,
                               QString(), QString(), now, now, now)) {
                qCWarning(logDataLibraries)
                    << "failed to write library cache" << temporary << ":" << tar.errorString();
                tar.close();
                QFile::remove(temporary);
                return false;
            }
        }
        if (!tar.close()) {
            qCWarning(logDataLibraries)
                << "failed to finish library cache" << temporary << ":" << tar.errorString();
            QFile::remove(temporary);
            return false;
        }
    }
    QFile::remove(cache);
    if (!QFile::rename(temporary, cache)) {
        qCWarning(logDataLibraries) << "failed to move library cache into place:" << cache;
        QFile::remove(temporary);
        return false;
    }
    return true;
}

bool readCacheInBatches(const QString &folder, int batchSize,
                        const std::function<void(const QVector<CacheEntry> &)> &consume)
{
    KTar tar(cachePath(folder), QStringLiteral("application/x-tar"));
    if (!tar.open(QIODevice::ReadOnly))
        return false;
    const qint64 archiveSize = QFileInfo(cachePath(folder)).size();
    const KArchiveDirectory *root = tar.directory();
    QVector<const KArchiveFile *> files;
    for (const QString &name : root->entries()) {
        const KArchiveEntry *entry = root->entry(name);
        if (entry && entry->isFile())
            files.append(static_cast<const KArchiveFile *>(entry));
    }
    // The directory lists its entries in hash order; the archive's own order is the stable one.
    std::sort(files.begin(), files.end(), [](const KArchiveFile *a, const KArchiveFile *b) {
        return a->position() < b->position();
    });
    // Batches keep only a slice of a large archive in memory at a time.
    QVector<CacheEntry> batch;
    batch.reserve(batchSize);
    for (const KArchiveFile *file : qAsConst(files)) {
        // A damaged header can claim gigabytes; no entry is larger than the archive holding it.
        if (file->size() > archiveSize) {
            qCWarning(logDataLibraries) << "Damaged cache entry" << file->name() << "claims"
                                        << file->size() << "bytes, skipping it";
            continue;
        }
        QByteArray data = file->data();
        if (data.isEmpty()) {
            qCWarning(logDataLibraries) << "Empty data in cache for" << file->name();
            continue;
        }
        batch.append({file->name(), std::move(data)});
        if (batch.size() == batchSize) {
            consume(batch);
            batch.clear();
        }
    }
    if (!batch.isEmpty())
        consume(batch);
    return true;
}

bool readCacheEntries(const QString &folder, QVector<CacheEntry> &entries)
{
    entries.clear();
    return readCacheInBatches(folder, 1024,
                              [&entries](const QVector<CacheEntry> &batch) { entries += batch; });
}

} // namespace LibraryCache
