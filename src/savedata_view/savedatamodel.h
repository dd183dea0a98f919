#pragma once

#include "storage/savedata.h"

#include <QAbstractItemModel>
#include <QPixmap>

// One loaded measurement as a two-level tree: a row per measuring point, and under each the nine
// items of that point (photo, spectra, graphs, search result, recording data). Every change the
// display makes to the measurement in memory goes through this model.
class SaveDataModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Role {
        PreviewRole = Qt::UserRole + 1,      // image or text of an item, of a point its graph
        MetadataHtmlRole = Qt::UserRole + 2, // the sample metadata table; asked with no index
    };
    enum Item {
        WithLaserImageItem,
        SearchResultImageItem,
        RawSpectrumItem,
        ProcessedSpectrumItem,
        RawSpectrumImageItem,
        CcdRawImageItem,
        SearchResultItem,
        SearchResultTableImageItem,
        ExposureDataItem,
        ItemCount
    };

    explicit SaveDataModel(QObject *parent = nullptr);

    // Shows a record read elsewhere (on another thread).
    void setSaveData(const SaveData &data);
    // An empty measurement that belongs to no folder.
    void clear();

    const SaveData &saveData() const { return m_saveData; }
    // For operations that write the measurement (saving, reports); tree changes go through the
    // operations below.
    SaveData &saveData() { return m_saveData; }

    enum class SaveOutcome { Saved, NothingChanged, ReadOnly, ChangedOnDisk, Failed };
    // Writes the measurement back into its folder, with summary pages from `summaryWriter`; not
    // when nothing changed (unless `evenIfUnchanged`), never into the backup area, and over a
    // folder changed on disk since it was read only with `overwriteChanged`. Failed leaves the
    // measurement as it was, the reason in saveData().lastSaveError().
    SaveOutcome save(const SummaryPageWriter &summaryWriter, bool evenIfUnchanged = false,
                     bool overwriteChanged = false);
    // A copy in the backup area: shown, never saved.
    bool isReadOnly() const;

    void setMetadata(const SaveDataMetadata &metadata);
    void setActiveSector(int row);
    void removeSector(int row);
    void replaceActiveSector(const SaveDataSector &sector);
    // Keeps at least one measuring point in the tree after a deletion.
    void addSectorIfEmpty();

    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // x<TAB>y lines with 4 significant digits; nothing when x and y differ in length.
    static QString spectrumText(const RamanData<Wavenumbers> &spectrum);

signals:
    void metadataChanged();

private:
    QVariant pointData(int row, int column, int role) const;
    QVariant itemData(const SaveDataSector &sector, int item, int column, int role) const;
    QVariant preview(const SaveDataSector &sector, int item) const;
    QString exposureHtml(const ExposureData &exposure) const;
    QString identificationHtml(const IdentificationData &identification) const;
    QString metadataHtml() const;
    const QPixmap &statusIcon(bool complete) const;

    SaveData m_saveData;
    mutable QPixmap m_completeIcon;
    mutable QPixmap m_attentionIcon;
};
