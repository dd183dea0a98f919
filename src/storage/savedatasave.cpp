#include "storage/savedata.h"

#include "core/logging.h"
#include "spectrum/calibrationlines.h"
#include "spectrum/spectrumfile.h"
#include "storage/backup.h"
#include "storage/savedatafiles.h"
#include "storage/savedatajson.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QThread>
#include <QtConcurrent>
#include <QtEndian>

namespace {

constexpr int pictureQuality = 95;
constexpr int settleTimeoutMs = 1000;
constexpr unsigned long settlePollUs = 50;

// Records the components of one save that could not be written; the save goes on after each.
class ComponentFailures
{
public:
    void check(bool written, const QString &component)
    {
        if (written)
            return;
        m_any = true;
        qCWarning(logDataIo).noquote()
            << "Save unsuccessful: component" << component << "has failed";
    }
    bool any() const { return m_any; }

private:
    bool m_any = false;
};

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

bool writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

bool writeCcdRaw(const QString &path, const QVector<quint16> &values)
{
    QByteArray bytes(values.size() * 2, Qt::Uninitialized);
    qToLittleEndian<quint16>(values.constData(), values.size(), bytes.data());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const qint64 written = file.write(bytes);
    qCDebug(logDataIo) << "write raw data:" << written << "/" << values.size();
    return written == bytes.size() && file.commit();
}

void writeSectorFiles(const QDir &dir, const SaveDataSector &sector, int position,
                      const SaveDataFileNames &names, ComponentFailures &failures,
                      SaveTimings *timings)
{
    {
        Stopwatch watch(timings, &SaveTimings::pictures);
        const auto writePicture
            = [&](const QImage &image, const QString &name, const char *format) {
                  if (image.isNull())
                      return;
                  const QString path = dir.filePath(name);
                  failures.check(image.save(path, format, pictureQuality),
                                 QStringLiteral("write image %1 for sector %2")
                                     .arg(path, QString::number(position)));
              };
        const IdentificationData &id = sector.identificationData;
        writePicture(sector.withLaserImage, names.withLaserImage, "JPEG");
        writePicture(sector.withoutLaserImage, names.withoutLaserImage, "JPEG");
        writePicture(sector.rawSpectrumImage, names.rawSpectrumImage, "PNG");
        writePicture(sector.ccdRawImage, names.ccdRawImage, "PNG");
        writePicture(id.searchResultImage, names.searchResultImage, "PNG");
        writePicture(id.searchResultTableImage, names.searchResultTableImage, "PNG");
    }

    Stopwatch watch(timings, &SaveTimings::textFiles);
    // A spectrum that cannot be written is logged by the writer and does not fail the save.
    writeSpectrumText(dir.filePath(names.processedSpectrum), sector.processedSpectrum);
    writeSpectrumText(dir.filePath(names.rawSpectrum), sector.rawSpectrum);
    failures.check(writeCcdRaw(dir.filePath(names.ccdRaw), sector.ccdRaw),
                   QStringLiteral("raw data for sector %1").arg(position));
    failures.check(
        writeCalibrationLines(dir.filePath(names.calibrationLines), sector.calibrationLines),
        QStringLiteral("calibration data for sector %1").arg(position));
}

// A folder just moved aside may linger for a moment on network file systems.
void waitUntilGone(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    while (QFileInfo::exists(path) && timer.elapsed() < settleTimeoutMs)
        QThread::usleep(settlePollUs);
}

} // namespace

bool SaveData::save(const QString &parentDir, const QString &folderName,
                    const SummaryPageWriter &summaryWriter, SaveTimings *timings)
{
    qCDebug(logDataIo) << "storing to folder:" << parentDir << folderName;
    if (parentDir.isEmpty() || !isPlainFolderName(folderName)) {
        // An empty name would make the parent folder itself the target and move it aside whole.
        qCWarning(logDataIo) << "refusing to save to" << parentDir << folderName
                             << ": not a folder name";
        return false;
    }

    const QDateTime now = QDateTime::currentDateTime();
    m_metadata.saved_date = now.addMSecs(-now.time().msec());
    m_metadata.save_data_version = CurrentSaveDataVersion;

    const QString target = QDir::cleanPath(parentDir + QLatin1Char('/') + folderName);
    m_folderPath = target; // whatever the outcome below
    ComponentFailures failures;

    if (QFileInfo(target).isDir()) {
        Stopwatch watch(timings, &SaveTimings::backup);
        if (!moveToOverwrittenBackup(target, parentDir, folderName)) {
            failures.check(false, QStringLiteral("backup of the previous folder %1").arg(target));
            return false;
        }
    }
    waitUntilGone(target);

    QDir folder;
    if (!QDir().mkpath(target)) {
        qCWarning(logDataIo) << "Failed to create destination direcotry" << target;
        return false;
    }
    if (!folder.cd(target)) {
        qCWarning(logDataIo) << "Failed to change directory to" << target;
        return false;
    }

    const SaveDataFileNames names = SaveDataFileNames::forVersion(CurrentSaveDataVersion);
    if (!m_metadata.overviewImage.isNull()) {
        Stopwatch watch(timings, &SaveTimings::pictures);
        failures.check(m_metadata.overviewImage.save(folder.filePath(names.overviewImage), "JPEG",
                                                     pictureQuality),
                       QStringLiteral("overview image"));
    }

    int written = 0;
    for (int position = 1; position <= m_sectors.size(); ++position) {
        const SaveDataSector &sector = m_sectors.at(position - 1);
        if (sector.isEmpty())
            continue;
        const QString location = SaveDataFiles::locationFolderName(++written);
        QDir sectorDir = folder;
        if (!sectorDir.mkpath(location) || !sectorDir.cd(location)) {
            failures.check(false, QStringLiteral("folder %1 for sector %2")
                                      .arg(folder.filePath(location), QString::number(position)));
            continue;
        }
        writeSectorFiles(sectorDir, sector, position, names, failures, timings);
        if (summaryWriter) {
            Stopwatch watch(timings, &SaveTimings::summaries);
            summaryWriter(*this, sectorDir.filePath(names.summary), position - 1);
        }
    }

    {
        Stopwatch watch(timings, &SaveTimings::json);
        // The n-th entry describes Location<n>, also when that folder failed.
        const QJsonObject json
            = SaveDataJson::metadataToJson(m_metadata, SaveDataJson::sectorsToJson(m_sectors));
        failures.check(writeAtomically(folder.filePath(SaveDataFiles::metadataFileName()),
                                       QJsonDocument(json).toJson(QJsonDocument::Indented)),
                       QStringLiteral("main metadata"));
    }

    if (!failures.any())
        m_modified = false;
    return !failures.any();
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
