#pragma once

#include "storage/savedatarecords.h"
#include "storage/savetimings.h"

#include <QStringList>

#include <functional>
#include <optional>

class SaveData;

// Writes the one-page PDF summary of sector `sectorIndex`; the report layer provides it, so that
// storage need not know how a page looks. An empty writer leaves the page out.
using SummaryPageWriter
    = std::function<bool(const SaveData &data, const QString &path, int sectorIndex)>;

// One measurement: its metadata and its measuring points (sectors), loaded from and written to a
// measurement folder of any format version.
class SaveData
{
public:
    SaveData();

    // Reads the folder into a fresh record; true when metadata.json could be opened.
    bool load(const QString &path, SaveDataParts parts);

    QString folderPath() const { return m_folderPath; }
    SaveDataParts loadedParts() const { return m_loadedParts; }
    const SaveDataMetadata &metadata() const { return m_metadata; }
    const QVector<SaveDataSector> &sectors() const { return m_sectors; }
    int sectorCount() const { return m_sectors.size(); }
    bool isModified() const { return m_modified; }

    // <collection name>-<collection id>-<first 13 characters of the unique identifier>.
    QString defaultFolderName() const;
    // Deletes the folder last loaded from or saved to; false when there is none.
    bool removeFromDisk() const;

    std::optional<SaveDataSector> sector(int index) const;
    const SaveDataSector &activeSector() const;
    int activeSectorIndex() const { return m_activeSectorIndex; }
    void setActiveSector(int index);

    // Drops the empty sectors, appends a new one and makes it active.
    void addSector();
    void removeSector(int index);
    void replaceActiveSector(const SaveDataSector &sector);
    void setMetadata(const SaveDataMetadata &metadata);

    int nonEmptySectorCount() const;
    bool hasContent() const;
    bool hasUnsavedChanges() const { return m_modified && hasContent(); }
    // Distinct final identifications in sector order; an empty one is listed once.
    QStringList finalIdentifications() const;
    QString sectorFolderPath(int index) const;

    // Writes the record as <parentDir>/<folderName> in the current format, after moving a folder of
    // that name into the backup area, with a summary page per sector from `summaryWriter`. True
    // when every component was written; `timings`, when given, receives where the time went.
    bool save(const QString &parentDir, const QString &folderName,
              const SummaryPageWriter &summaryWriter, SaveTimings *timings = nullptr);
    bool saveWithDefaultName(const QString &parentDir, const SummaryPageWriter &summaryWriter);
    // Saves a copy into the "unsaved" backup area on the global thread pool; returns at once and
    // leaves this record as it is.
    void backupUnsaved(const SummaryPageWriter &summaryWriter) const;
    // Deletes this measurement's copy directly below the backup root, if it is a measurement
    // folder.
    void removeBackup() const;

private:
    void loadSectorFolder(const QString &sectorDir, int version, const QString &label,
                          SaveDataParts parts, SaveDataSector &sector);

    QVector<SaveDataSector> m_sectors;
    SaveDataMetadata m_metadata;
    bool m_modified = false;
    qint32 m_activeSectorIndex = -1;
    SaveDataParts m_loadedParts;
    QString m_folderPath;
};
