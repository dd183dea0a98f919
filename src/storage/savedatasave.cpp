#include "storage/savedata.h"

#include "core/logging.h"
#include "spectrum/calibrationlines.h"
#include "spectrum/spectrumfile.h"
#include "storage/backup.h"
#include "storage/checkedfiles.h"
#include "storage/savedatafiles.h"
#include "storage/savedatajson.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QThread>
#include <QtConcurrent>
#include <QtEndian>

#include <functional>
#include <numeric>
#include <thread>

namespace {

constexpr int pictureQuality = 95;

// Adds the time of its own lifetime to one field of the timings, when there are any.
class Stopwatch
{
public:
    Stopwatch(SaveTimings *timings, qint64 SaveTimings::*field)
        : m_timings(timings)
        , m_field(field)
    {
        if (m_timings)
            m_timer.start();
    }
    ~Stopwatch()
    {
        if (m_timings)
            m_timings->*m_field += m_timer.nsecsElapsed();
    }
    Stopwatch(const Stopwatch &) = delete;
    Stopwatch &operator=(const Stopwatch &) = delete;

private:
    SaveTimings *m_timings;
    qint64 SaveTimings::*m_field;
    QElapsedTimer m_timer;
};

bool isPlainFolderName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QByteArray encodedPicture(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, format, pictureQuality) ? bytes : QByteArray();
}

QByteArray ccdRawBytes(const QVector<quint16> &values)
{
    QByteArray bytes(values.size() * 2, Qt::Uninitialized);
    qToLittleEndian<quint16>(values.constData(), values.size(), bytes.data());
    return bytes;
}

// Same pixels; an image handed on unchanged keeps its cache key, which spares the comparison.
bool samePicture(const QImage &a, const QImage &b)
{
    return a.cacheKey() == b.cacheKey() || a == b;
}

// A name beside `target` that nothing uses, for the new version while it is written.
QString freeNameBeside(const QString &target, const char *purpose)
{
    const QFileInfo info(target);
    QString name;
    do {
        name = info.path() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.')
               + QLatin1String(purpose) + QString::number(QRandomGenerator::global()->generate());
    } while (QFileInfo::exists(name) || QFileInfo(name).isSymLink());
    return name;
}

// One file of the new version: taken over from the stored version when it did not change (a second
// name for the same file where the file system allows, else a copy), else made anew. Files are
// never changed in place, so the two versions may share one.
struct PlannedFile
{
    QString path; // relative to the folder
    QString copyFrom;
    std::function<QByteArray()> make;
    QByteArray bytes;
    bool linked = false;
    int summaryOf = -1; // the sector whose summary page this is, when it is to be drawn
};

class SavePlan
{
public:
    QStringList folders;
    QVector<PlannedFile> files;

    // `unchanged`: the item is as loaded from `storedFolder` (empty: nothing stored), so its file
    // there, if any, is copied; else it is made when `present`. An absent item gets no file.
    PlannedFile *add(const QString &folder, const QString &name, const QString &storedFolder,
                     bool unchanged, bool present, std::function<QByteArray()> make)
    {
        const QString path = folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
        if (!storedFolder.isEmpty() && unchanged) {
            const QString source = storedFolder + QLatin1Char('/') + name;
            if (!QFileInfo(source).isFile())
                return nullptr;
            files.append({path, source, {}, {}});
        } else if (present) {
            files.append({path, {}, std::move(make), {}});
        } else {
            return nullptr;
        }
        return &files.last();
    }
};

// Swaps the folders by two renames where the file system cannot exchange them; the new version
// then ends up at `target` and the old one at the returned path.
QString swapByRenames(CheckedFiles &files, const QString &staging, const QString &target)
{
    const QString aside = freeNameBeside(target, "old");
    if (!files.rename(target, aside))
        return QString();
    if (!files.rename(staging, target)) {
        QDir().rename(aside, target);
        return QString();
    }
    return aside;
}

} // namespace

bool SaveData::save(const QString &parentDir, const QString &folderName,
                    const SummaryPageWriter &summaryWriter, SaveTimings *timings)
{
    m_saveError.clear();
    qCDebug(logDataIo) << "storing to folder:" << parentDir << folderName;
    const QString target = QDir::cleanPath(parentDir + QLatin1Char('/') + folderName);
    CheckedFiles files;
    if (parentDir.isEmpty() || !isPlainFolderName(folderName)) {
        // An empty name would make the parent folder itself the target.
        files.fail(target, QStringLiteral("not a folder name"));
    } else if (QFileInfo::exists(target) && !QFileInfo(target).isDir()) {
        files.fail(target, QStringLiteral("a file is in the way"));
    } else if (!QFileInfo(parentDir).isDir()) {
        files.makePath(parentDir);
    }
    if (!files.ok()) {
        m_saveError = files.error();
        return false;
    }

    SaveData next = *this;
    const QDateTime now = QDateTime::currentDateTime();
    next.m_metadata.saved_date = now.addMSecs(-now.time().msec());
    next.m_metadata.save_data_version = CurrentSaveDataVersion;

    // What to write, and what of it to copy unchanged.
    const SaveDataFileNames names = SaveDataFileNames::forVersion(CurrentSaveDataVersion);
    const bool metadataStored = !m_storedPath.isEmpty();
    const bool metadataUnchanged = metadataStored && m_metadata == m_storedMetadata;
    SavePlan plan;
    const QImage overview = m_metadata.overviewImage;
    plan.add(QString(), names.overviewImage, m_storedPath,
             metadataStored && samePicture(overview, m_storedMetadata.overviewImage),
             !overview.isNull(), [overview] { return encodedPicture(overview, "JPEG"); });

    QVector<QString> locations(m_sectors.size()); // of each sector in the new version
    int written = 0;
    for (int index = 0; index < m_sectors.size(); ++index) {
        const SaveDataSector &s = m_sectors.at(index);
        if (s.isEmpty())
            continue;
        const QString location = SaveDataFiles::locationFolderName(++written);
        const auto stored = m_storedSectors.constFind(s.storedFolder);
        const bool isStored = stored != m_storedSectors.constEnd();
        const QString from = isStored ? s.storedFolder : QString();
        const SaveDataSector old = isStored ? *stored : SaveDataSector();
        const int planned = plan.files.size();

        const auto picture
            = [&](const QString &name, const QImage &image, const QImage &was, const char *format) {
                  plan.add(location, name, from, samePicture(image, was), !image.isNull(),
                           [image, format] { return encodedPicture(image, format); });
              };
        const IdentificationData &id = s.identificationData;
        picture(names.withLaserImage, s.withLaserImage, old.withLaserImage, "JPEG");
        picture(names.withoutLaserImage, s.withoutLaserImage, old.withoutLaserImage, "JPEG");
        picture(names.rawSpectrumImage, s.rawSpectrumImage, old.rawSpectrumImage, "PNG");
        picture(names.ccdRawImage, s.ccdRawImage, old.ccdRawImage, "PNG");
        picture(names.searchResultImage, id.searchResultImage,
                old.identificationData.searchResultImage, "PNG");
        picture(names.searchResultTableImage, id.searchResultTableImage,
                old.identificationData.searchResultTableImage, "PNG");
        const auto spectrum = [&](const QString &name, const RamanData<Wavenumbers> &data,
                                  const RamanData<Wavenumbers> &was) {
            plan.add(location, name, from, data == was, !data.isEmpty(),
                     [data] { return spectrumText(data); });
        };
        spectrum(names.processedSpectrum, s.processedSpectrum, old.processedSpectrum);
        spectrum(names.rawSpectrum, s.rawSpectrum, old.rawSpectrum);
        const QVector<quint16> ccd = s.ccdRaw;
        plan.add(location, names.ccdRaw, from, ccd == old.ccdRaw, !ccd.isEmpty(),
                 [ccd] { return ccdRawBytes(ccd); });
        const CalibrationLines lines = s.calibrationLines;
        plan.add(location, names.calibrationLines, from, lines == old.calibrationLines,
                 lines.size() > 0, [lines] { return calibrationLinesText(lines); });

        // A point whose files are missing on disk stays so: no folder, no page of nothing.
        if (s.missingOnDisk && plan.files.size() == planned)
            continue;
        if (summaryWriter) {
            PlannedFile *page
                = plan.add(location, names.summary, from, metadataUnchanged && s == old, true, {});
            if (page && page->copyFrom.isEmpty())
                page->summaryOf = index;
        }
        plan.folders << location;
        locations[index] = location;
    }

    // Meanwhile a second thread puts the old version whole into the backup area and takes what
    // did not change over into the new one, beside the old.
    const QString staging = freeNameBeside(target, "saving");
    const bool replacing = QFileInfo(target).isDir();
    PlannedFile *planned = plan.files.data();
    const int plannedCount = plan.files.size();
    CheckedFiles backupFiles;
    QString backup;
    std::thread besides([&] {
        if (replacing)
            backup = copyToOverwrittenBackup(backupFiles, target, folderName);
        files.makeDirectory(staging);
        for (const QString &folder : qAsConst(plan.folders))
            files.makeDirectory(staging + QLatin1Char('/') + folder);
        for (PlannedFile *file = planned; file != planned + plannedCount; ++file) {
            if (file->copyFrom.isEmpty())
                continue;
            const QString path = staging + QLatin1Char('/') + file->path;
            file->linked = files.tryLinkFile(file->copyFrom, path);
            if (!file->linked && files.readFile(file->copyFrom, file->bytes))
                files.writeFile(path, file->bytes);
        }
    });

    // The rest is made on all cores. The summary pages are drawn as one document per core, whose
    // pages then share the embedding of the fonts.
    {
        Stopwatch watch(timings, &SaveTimings::encoding);
        QVector<int> pages; // of plan.files
        for (int i = 0; i < plannedCount; ++i) {
            if (planned[i].summaryOf >= 0)
                pages << i;
        }
        std::vector<std::function<void()>> jobs;
        const int groups = std::min(pages.size(), std::max(1, QThread::idealThreadCount()));
        for (int g = 0; g < groups; ++g) {
            const int begin = g * pages.size() / groups;
            const QVector<int> group = pages.mid(begin, (g + 1) * pages.size() / groups - begin);
            jobs.emplace_back([&next, &summaryWriter, planned, group] {
                QVector<int> sectors;
                for (const int i : group)
                    sectors << planned[i].summaryOf;
                const QVector<QByteArray> drawn = summaryWriter(next, sectors);
                for (int k = 0; k < group.size(); ++k)
                    planned[group.at(k)].bytes = drawn.value(k);
            });
        }
        for (int i = 0; i < plannedCount; ++i) {
            if (planned[i].make)
                jobs.emplace_back([file = planned + i] { file->bytes = file->make(); });
        }
        QtConcurrent::blockingMap(jobs, [](const std::function<void()> &job) { job(); });
    }
    {
        Stopwatch watch(timings, &SaveTimings::backup);
        besides.join();
    }
    files.adopt(backupFiles);
    for (const PlannedFile &file : qAsConst(plan.files)) {
        // A summary page that cannot be painted is left out; any other file is needed.
        if (file.make && file.bytes.isEmpty())
            files.fail(target + QLatin1Char('/') + file.path, QStringLiteral("cannot be encoded"));
    }
    plan.files.erase(std::remove_if(plan.files.begin(), plan.files.end(),
                                    [](const PlannedFile &f) {
                                        return (f.make || f.summaryOf >= 0) && f.bytes.isEmpty();
                                    }),
                     plan.files.end());
    {
        // The n-th entry describes Location<n>.
        const QJsonObject json = SaveDataJson::metadataToJson(
            next.m_metadata, SaveDataJson::sectorsToJson(next.m_sectors));
        plan.files.append({SaveDataFiles::metadataFileName(),
                           {},
                           {},
                           QJsonDocument(json).toJson(QJsonDocument::Indented)});
    }

    {
        Stopwatch watch(timings, &SaveTimings::writing);
        // In parallel, so that the waits for the disk overlap.
        std::vector<CheckedFiles> written(size_t(plan.files.size()));
        std::vector<int> indexes(written.size());
        std::iota(indexes.begin(), indexes.end(), 0);
        if (files.ok()) {
            QtConcurrent::blockingMap(indexes, [&](int i) {
                const PlannedFile &file = plan.files.at(i);
                if (file.copyFrom.isEmpty())
                    written[size_t(i)].writeFile(staging + QLatin1Char('/') + file.path,
                                                 file.bytes);
            });
        }
        for (const CheckedFiles &each : written)
            files.adopt(each);
        for (const QString &folder : qAsConst(plan.folders))
            files.syncDirectory(staging + QLatin1Char('/') + folder);
        files.syncDirectory(staging);
    }
    {
        Stopwatch watch(timings, &SaveTimings::verifying);
        for (const PlannedFile &file : qAsConst(plan.files)) {
            if (!file.linked)
                files.verifyFile(staging + QLatin1Char('/') + file.path, file.bytes);
        }
    }

    // Only with the old version whole in the backup area does the new one take its place.
    QString old;
    {
        Stopwatch watch(timings, &SaveTimings::swap);
        if (replacing) {
            bool unsupported = false;
            if (files.exchange(staging, target, &unsupported))
                old = staging;
            else if (unsupported)
                old = swapByRenames(files, staging, target);
        } else {
            files.rename(staging, target);
        }
    }
    if (!files.ok()) {
        QDir(staging).removeRecursively();
        if (!backup.isEmpty())
            QDir(backup).removeRecursively();
        m_saveError = files.error();
        return false;
    }
    // The new version is in place; what follows cannot fail the save any more.
    if (!old.isEmpty() && !QDir(old).removeRecursively())
        qCWarning(logDataIo) << "could not remove the replaced version" << old;
    CheckedFiles parent;
    parent.syncDirectory(parentDir);

    next.m_folderPath = target;
    next.m_diskStamp = stampOf(target);
    next.m_modified = false;
    next.m_storedPath = target;
    next.m_storedMetadata = next.m_metadata;
    next.m_storedSectors.clear();
    for (int index = 0; index < next.m_sectors.size(); ++index) {
        SaveDataSector &s = next.m_sectors[index];
        if (locations.at(index).isEmpty())
            continue;
        s.storedFolder = target + QLatin1Char('/') + locations.at(index);
        s.missingOnDisk = false;
        next.m_storedSectors.insert(s.storedFolder, s);
    }
    *this = next;
    return true;
}

bool SaveData::saveWithDefaultName(const QString &parentDir, const SummaryPageWriter &summaryWriter)
{
    return save(parentDir, defaultFolderName(), summaryWriter);
}

void SaveData::backupUnsaved(const SummaryPageWriter &summaryWriter) const
{
    const QString root = backupRoot();
    const QString directory = root + QStringLiteral("/unsaved/")
                              + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('/');
    if (root.isEmpty() || !QDir().mkpath(directory)) {
        qCWarning(logDataIo) << "failed to create backup path:" << directory;
        return;
    }
    qCDebug(logDataIo) << "writing backup file:"
                       << directory + QLatin1Char('/') + defaultFolderName();
    QtConcurrent::run([copy = *this, directory, summaryWriter]() mutable {
        copy.save(directory, copy.defaultFolderName(), summaryWriter);
    });
}

void SaveData::removeBackup() const
{
    const QString root = backupRoot();
    const QString name = defaultFolderName();
    if (root.isEmpty() || name.isEmpty()) {
        qCWarning(logDataIo) << "empty backup location, not removing backup";
        return;
    }
    const QString path = root + QLatin1Char('/') + name;
    if (!QFileInfo(path + QLatin1Char('/') + SaveDataFiles::metadataFileName()).isFile()) {
        qCDebug(logDataIo) << path << "does not look like a save archive, not removing it";
        return;
    }
    qCDebug(logDataIo) << "removing backup file" << path;
    QDir(path).removeRecursively();
}
