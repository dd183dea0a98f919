#include "storage/savedata.h"

#include "core/logging.h"
#include "spectrum/calibrationlines.h"
#include "spectrum/spectrumfile.h"
#include "storage/savedatafiles.h"
#include "storage/savedatajson.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>
#include <QtEndian>

namespace {

// The names, sizes and modification times of the files below `folder`, condensed.
QByteArray folderStamp(const QString &folder)
{
    QStringList entries;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        it.next();
        const QFileInfo info = it.fileInfo();
        entries << it.filePath().mid(folder.size()) + QLatin1Char('\t')
                       + QString::number(info.size()) + QLatin1Char('\t')
                       + QString::number(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return QCryptographicHash::hash(entries.join(QLatin1Char('\n')).toUtf8(),
                                    QCryptographicHash::Sha1);
}

QVector<quint16> ccdRawFromBytes(const QByteArray &bytes)
{
    QVector<quint16> values(bytes.size() / 2); // a trailing odd byte is ignored
    qFromLittleEndian<quint16>(bytes.constData(), values.size(), values.data());
    return values;
}

} // namespace

// The content of a file of the folder; empty when it is absent, and a problem of this load when it
// is there but cannot be read.
QByteArray SaveData::readIfPresent(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return bytes;
    }
    m_loadProblems << QDir::toNativeSeparators(path) + QStringLiteral(": ") + file.errorString();
    qCWarning(logDataIo).noquote() << "cannot read" << m_loadProblems.last();
    return {};
}

QImage SaveData::loadPicture(const QString &path)
{
    const QByteArray bytes = readIfPresent(path);
    QImage image;
    if (!bytes.isEmpty() && !image.loadFromData(bytes)) {
        m_loadProblems << QDir::toNativeSeparators(path) + QStringLiteral(": not a picture");
        qCWarning(logDataIo).noquote() << "cannot read" << m_loadProblems.last();
    }
    return image;
}

SaveData::SaveData()
{
    m_metadata.unique_ident = QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool SaveData::load(const QString &path, SaveDataParts parts)
{
    *this = SaveData();
    m_folderPath = QDir::cleanPath(path);

    QFile file(m_folderPath + QLatin1Char('/') + SaveDataFiles::metadataFileName());
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(logDataIo) << "not a Raman save data folder, no metadata.json file:"
                           << file.fileName();
        if (file.exists())
            m_loadProblems << QDir::toNativeSeparators(file.fileName()) + QStringLiteral(": ")
                                  + file.errorString();
        return false;
    }
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    m_metadata = SaveDataJson::metadataFromJson(json);
    SaveDataMetadata &m = m_metadata;
    const int version = m.save_data_version;
    const QString label = SaveDataJson::ownerIdentLabel(json);

    qCDebug(logDataIo) << "loading save data with version" << version << "from" << m_folderPath;

    const SaveDataFileNames names = SaveDataFileNames::forVersion(version, label);
    const QDir folder(m_folderPath);
    if (parts & Images)
        m.overviewImage = loadPicture(folder.filePath(names.overviewImage));

    const QJsonArray sectors = SaveDataJson::sectorObjects(json);
    for (int n = 1; n <= sectors.size(); ++n) {
        addSector();
        SaveDataSector &sector = m_sectors.last();
        SaveDataJson::readSector(sectors.at(n - 1).toObject(), sector);
        const QString sectorDir = folder.filePath(SaveDataFiles::locationFolderName(n));
        if (!QFileInfo(sectorDir).isDir()) {
            qCWarning(logDataIo) << "Could not descend into location directory" << sectorDir;
            sector.missingOnDisk = true;
            continue;
        }
        if (parts == ListMetadata)
            continue;
        loadSectorFolder(sectorDir, version, label, parts, sector);
        if (version == CurrentSaveDataVersion) {
            sector.storedFolder = sectorDir;
            m_storedSectors.insert(sectorDir, sector);
        }
    }
    if (version == CurrentSaveDataVersion) {
        m_storedPath = m_folderPath;
        m_storedMetadata = m_metadata;
    }

    m_activeSectorIndex = m_sectors.size() - 1;
    m_loadedParts = parts;
    // The list reads only metadata of thousands of folders and never saves them.
    if (parts & (Images | SpectralData))
        m_diskStamp = folderStamp(m_folderPath);
    return true;
}

void SaveData::loadSectorFolder(const QString &sectorDir, int version, const QString &label,
                                SaveDataParts parts, SaveDataSector &sector)
{
    const SaveDataFileNames names = SaveDataFileNames::forVersion(version, label);
    const QDir dir(sectorDir);
    const auto loadSpectrum = [this](const QString &path) {
        const QByteArray text = readIfPresent(path);
        return text.isEmpty() ? RamanData<Wavenumbers>{} : spectrumFromText(text, path);
    };
    if (parts & Images) {
        sector.withLaserImage = loadPicture(dir.filePath(names.withLaserImage));
        sector.withoutLaserImage = loadPicture(dir.filePath(names.withoutLaserImage));
        sector.rawSpectrumImage = loadPicture(dir.filePath(names.rawSpectrumImage));
        sector.ccdRawImage = loadPicture(dir.filePath(names.ccdRawImage));
        sector.identificationData.searchResultImage
            = loadPicture(dir.filePath(names.searchResultImage));
        sector.identificationData.searchResultTableImage
            = loadPicture(dir.filePath(names.searchResultTableImage));
    }
    if (parts & SpectralData) {
        sector.processedSpectrum = loadSpectrum(dir.filePath(names.processedSpectrum));
        if (!names.rawSpectrum.isEmpty())
            sector.rawSpectrum = loadSpectrum(dir.filePath(names.rawSpectrum));
        if (!names.ccdRaw.isEmpty())
            sector.ccdRaw = ccdRawFromBytes(readIfPresent(dir.filePath(names.ccdRaw)));
    }
    if (!names.calibrationLines.isEmpty()) {
        sector.calibrationLines
            = calibrationLinesFromText(readIfPresent(dir.filePath(names.calibrationLines)));
    }
}

bool SaveData::changedOnDisk() const
{
    return !m_diskStamp.isEmpty() && folderStamp(m_folderPath) != m_diskStamp;
}

QByteArray SaveData::stampOf(const QString &folder)
{
    return folderStamp(folder);
}

QString SaveData::defaultFolderName() const
{
    const auto orUnspecified
        = [](const QString &s) { return s.isEmpty() ? QStringLiteral("unspecified") : s; };
    return orUnspecified(m_metadata.collection_name) + QLatin1Char('-')
           + orUnspecified(m_metadata.collection_id) + QLatin1Char('-')
           + m_metadata.unique_ident.left(13);
}

bool SaveData::removeFromDisk() const
{
    if (m_folderPath.isEmpty())
        return false;
    return QDir(m_folderPath).removeRecursively();
}

std::optional<SaveDataSector> SaveData::sector(int index) const
{
    if (index < 0 || index >= m_sectors.size())
        return std::nullopt;
    return m_sectors.at(index);
}

const SaveDataSector &SaveData::activeSector() const
{
    Q_ASSERT(m_activeSectorIndex >= 0 && m_activeSectorIndex < m_sectors.size());
    static const SaveDataSector none;
    if (m_activeSectorIndex < 0 || m_activeSectorIndex >= m_sectors.size())
        return none;
    return m_sectors.at(m_activeSectorIndex);
}

void SaveData::setActiveSector(int index)
{
    if (index >= 0 && index < m_sectors.size())
        m_activeSectorIndex = index;
}

void SaveData::addSector()
{
    m_sectors.erase(std::remove_if(m_sectors.begin(), m_sectors.end(),
                                   [](const SaveDataSector &s) { return s.isEmpty(); }),
                    m_sectors.end());
    m_sectors.append(SaveDataSector());
    m_activeSectorIndex = m_sectors.size() - 1;
}

void SaveData::removeSector(int index)
{
    if (index < 0 || index >= m_sectors.size()) {
        qCWarning(logDataIo) << "refusing to remove sector" << index << "of" << m_sectors.size();
        return;
    }
    m_modified = true;
    m_sectors.removeAt(index);
    if (m_activeSectorIndex >= index)
        --m_activeSectorIndex;
}

void SaveData::replaceActiveSector(const SaveDataSector &sector)
{
    m_modified = true;
    if (m_sectors.isEmpty()) {
        qCWarning(logDataIo) << "sectors list is empty -- not updating anything";
        return;
    }
    if (m_activeSectorIndex < 0 || m_activeSectorIndex >= m_sectors.size()) {
        qCWarning(logDataIo) << "no active sector -- not updating anything";
        return;
    }
    m_sectors[m_activeSectorIndex] = sector;
}

void SaveData::setMetadata(const SaveDataMetadata &metadata)
{
    qCDebug(logDataIo) << "update_current metadata" << metadata.owner;
    m_modified = true;
    m_metadata = metadata;
}

int SaveData::nonEmptySectorCount() const
{
    return int(std::count_if(m_sectors.cbegin(), m_sectors.cend(),
                             [](const SaveDataSector &s) { return !s.isEmpty(); }));
}

bool SaveData::hasContent() const
{
    return nonEmptySectorCount() > 0;
}

QStringList SaveData::finalIdentifications() const
{
    QStringList result;
    for (const SaveDataSector &s : m_sectors) {
        const QString &name = s.identificationData.mineral_final_identification;
        if (!result.contains(name, Qt::CaseSensitive))
            result.append(name);
    }
    return result;
}

QString SaveData::sectorFolderPath(int index) const
{
    return m_folderPath + QStringLiteral("/Location%1/").arg(index + 1);
}
