#pragma once

#include "storage/savedatarecords.h"
#include "storage/savetimings.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <optional>

class SaveData;

// The one-page PDF summaries of the given sectors, in their order; the report layer provides them,
// so that storage need not know how a page looks. An empty writer or an empty page leaves the page
// out.
using SummaryPageWriter
    = std::function<QVector<QByteArray>(const SaveData &data, const QVector<int> &sectorIndexes)>;

// One measurement: its metadata and its measuring points (sectors), loaded from and written to a
// measurement folder of any format version.
class SaveData
{
public:
    SaveData();

    // Reads the folder into a fresh record; true when metadata.json could be opened. Files that
    // exist but cannot be read are listed in loadProblems().
    bool load(const QString &path, SaveDataParts parts);
    QStringList loadProblems() const { return m_loadProblems; }
    // True when the files of the folder last loaded (with more than its metadata) or saved are no
    // longer those read or written then: another program or user changed them, or it is gone.
    bool changedOnDisk() const;

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

    // Writes the record as <parentDir>/<folderName> in the current format, with a summary page per
    // sector from `summaryWriter`. The new version is written beside the old one and read back;
    // the old one is put whole into the backup area, and only then are the two swapped. Files
    // that did not change since they were loaded are copied, not encoded again; what is missing
    // stays missing. False with lastSaveError() naming the file and the reason when any step
    // failed: the folder and this record are then as they were. `timings`, when given, receives
    // where the time went.
    bool save(const QString &parentDir, const QString &folderName,
              const SummaryPageWriter &summaryWriter, SaveTimings *timings = nullptr);
    QString lastSaveError() const { return m_saveError; }
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
    QByteArray readIfPresent(const QString &path);
    QImage loadPicture(const QString &path);
    static QByteArray stampOf(const QString &folder);

    QVector<SaveDataSector> m_sectors;
    SaveDataMetadata m_metadata;
    bool m_modified = false;
    qint32 m_activeSectorIndex = -1;
    SaveDataParts m_loadedParts;
    QString m_folderPath;
    QStringList m_loadProblems;
    QByteArray m_diskStamp; // of m_folderPath when it was last loaded or saved
    QString m_saveError;
    // What the files of the current-format folder last loaded or saved hold, so that a save can
    // copy what did not change: the metadata and each sector by its Location folder.
    QString m_storedPath;
    SaveDataMetadata m_storedMetadata;
    QHash<QString, SaveDataSector> m_storedSectors;
};
