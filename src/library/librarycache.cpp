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
#include <QStandardPaths>
#include <QtConcurrent>
#include <QtEndian>

#include <algorithm>

namespace LibraryCache {

QString cachePath(const QString &folder)
{
    return folder + QStringLiteral("/cache.tar");
}

namespace {

QString userCacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
           + QStringLiteral("/libraries");
}

QString folderKey(const QString &folder)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(QFileInfo(folder).absoluteFilePath().toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16));
}

QString folderState(const QString &folder)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const QFileInfoList sources
        = QDir(folder).entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)
          + QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &source : sources) {
        hash.addData(source.fileName().toUtf8());
        hash.addData(QByteArray::number(source.size()) + ' '
                     + QByteArray::number(source.lastModified().toMSecsSinceEpoch()) + '\n');
    }
    return QString::fromLatin1(hash.result().toHex().left(16));
}

// Writes the spectra as a cache archive; a half-written archive never replaces a good one. A
// failure is no fault of the user's (the library is read without a cache then): logged as info.
bool writeCache(const QVector<RamanLibrarySpectrum> &spectra, const QString &cache)
{
    const auto fail = [](const QString &what) {
        qCInfo(logDataLibraries).noquote() << what;
        return false;
    };
    const QString temporary = cache + QStringLiteral(".tmp");
    QFile::remove(temporary);
    {
        KTar tar(temporary, QStringLiteral("application/x-tar"));
        if (!tar.open(QIODevice::WriteOnly))
            return fail(QStringLiteral("cannot create library cache %1: %2")
                            .arg(temporary, tar.errorString()));
        const QDateTime now = QDateTime::currentDateTime();
        for (const RamanLibrarySpectrum &spectrum : spectra) {
            if (!tar.writeFile(cacheEntryName(spectrum.info), encodeEntry(spectrum.data), 0100644,
                               QString(), QString(), now, now, now)) {
                const QString why = tar.errorString();
                tar.close();
                QFile::remove(temporary);
                return fail(
                    QStringLiteral("failed to write library cache %1: %2").arg(temporary, why));
            }
        }
        if (!tar.close()) {
            QFile::remove(temporary);
            return fail(QStringLiteral("failed to finish library cache %1: %2")
                            .arg(temporary, tar.errorString()));
        }
    }
    QFile::remove(cache);
    if (!QFile::rename(temporary, cache)) {
        QFile::remove(temporary);
        return fail(QStringLiteral("failed to move library cache into place: %1").arg(cache));
    }
    return true;
}

} // namespace

QString userCachePath(const QString &folder)
{
    return userCacheFolder() + QLatin1Char('/') + folderKey(folder) + QLatin1Char('-')
           + folderState(folder) + QStringLiteral(".tar");
}

QString cacheInUse(const QString &folder)
{
    const QString own = cachePath(folder);
    if (QFileInfo(own).isFile())
        return own;
    const QString user = userCachePath(folder);
    return QFileInfo(user).isFile() ? user : QString();
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
    if (!cacheInUse(folder).isEmpty())
        return true;
    const QVector<RamanLibrarySpectrum> spectra = readLibraryDirectory(folder, mapper);
    if (!QDir(folder).exists())
        return false;
    // A read-only folder (a share, a system-wide installation) is normal: its cache goes to the
    // user's cache folder, replacing the one of the folder's earlier state.
    if (writeCache(spectra, cachePath(folder)))
        return true;
    const QDir users(userCacheFolder());
    if (!users.mkpath(QStringLiteral(".")))
        return false;
    for (const QString &old :
         users.entryList({folderKey(folder) + QStringLiteral("-*.tar")}, QDir::Files))
        QFile::remove(users.filePath(old));
    return writeCache(spectra, userCachePath(folder));
}

bool rebuildCache(const QString &folder)
{
    QFile::remove(cacheInUse(folder));
    return ensureCache(folder);
}

bool readCacheInBatches(const QString &folder, int batchSize,
                        const std::function<void(const QVector<CacheEntry> &)> &consume)
{
    const QString cache = cacheInUse(folder);
    if (cache.isEmpty())
        return false;
    KTar tar(cache, QStringLiteral("application/x-tar"));
    if (!tar.open(QIODevice::ReadOnly))
        return false;
    const qint64 archiveSize = QFileInfo(cache).size();
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
        batch.append({file->name(), std::move(data), file->position()});
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
