#include "savedata_view/savedatamodel.h"

#include "storage/backup.h"

#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QLocale>

namespace {

const char *const itemLabels[SaveDataModel::ItemCount] = {
    QT_TRANSLATE_NOOP("SaveDataModel", "Foto der Probe (mit Laser)"),
    QT_TRANSLATE_NOOP("SaveDataModel", "Spektrum (Graph)"),
    QT_TRANSLATE_NOOP("SaveDataModel", "Spektrum (Rohdaten)"),
    QT_TRANSLATE_NOOP("SaveDataModel", "Spektrum (Prozessierte Daten)"),
    QT_TRANSLATE_NOOP("SaveDataModel", "Spektrum (Graph Rohdaten)"),
    QT_TRANSLATE_NOOP("SaveDataModel", "Spektrum (CCD-Rohbild)"),
    QT_TRANSLATE_NOOP("SaveDataModel", "Bibliotheks-Suchergebnis"),
    QT_TRANSLATE_NOOP("SaveDataModel", "Bibliotheks-Suchergebnis (Tabelle)"),
    QT_TRANSLATE_NOOP("SaveDataModel", "Spektrum Aufnahmedaten"),
};

// Item ids above this mark an item; the id minus one is the row of its measuring point.
constexpr quintptr PointId = 0;

QString htmlRow(const QString &caption, const QString &value)
{
    return QStringLiteral("<tr><td width=300><b>%1</b></td><td>%2</td></tr>").arg(caption, value);
}

QString htmlTable(const QStringList &rows)
{
    return QStringLiteral("<html><body><table>%1</table></body></html>")
        .arg(rows.join(QLatin1Char('\n')));
}

QString sizeText(const QImage &image)
{
    if (image.isNull())
        return QString();
    return QStringLiteral("%1x%2").arg(image.width()).arg(image.height());
}

bool isEmptyPreview(const QVariant &value)
{
    if (!value.isValid())
        return true;
    if (value.userType() == QMetaType::QImage)
        return value.value<QImage>().isNull();
    return value.toString().isEmpty();
}

} // namespace

SaveDataModel::SaveDataModel(QObject *parent)
    : QAbstractItemModel(parent)
{}

void SaveDataModel::setSaveData(const SaveData &data)
{
    beginResetModel();
    m_saveData = data;
    endResetModel();
    emit metadataChanged();
}

void SaveDataModel::clear()
{
    setSaveData(SaveData());
}

bool SaveDataModel::isReadOnly() const
{
    return !m_saveData.folderPath().isEmpty() && isInBackupArea(m_saveData.folderPath());
}

SaveDataModel::SaveOutcome SaveDataModel::save(const SummaryPageWriter &summaryWriter,
                                               bool evenIfUnchanged, bool overwriteChanged)
{
    const QString path = m_saveData.folderPath();
    if (path.isEmpty() || (!m_saveData.isModified() && !evenIfUnchanged))
        return SaveOutcome::NothingChanged;
    if (isReadOnly())
        return SaveOutcome::ReadOnly;
    if (!overwriteChanged && m_saveData.changedOnDisk())
        return SaveOutcome::ChangedOnDisk;
    const QFileInfo folder(path);
    if (!m_saveData.save(folder.path(), folder.fileName(), summaryWriter))
        return SaveOutcome::Failed;
    emit metadataChanged(); // the saved date
    return SaveOutcome::Saved;
}

void SaveDataModel::setMetadata(const SaveDataMetadata &metadata)
{
    m_saveData.setMetadata(metadata);
    emit metadataChanged();
}

void SaveDataModel::setActiveSector(int row)
{
    const int previous = m_saveData.activeSectorIndex();
    m_saveData.setActiveSector(row);
    // Both rows change their font.
    for (int changed : {row, previous}) {
        if (changed >= 0 && changed < m_saveData.sectorCount())
            emit dataChanged(index(changed, 0), index(changed, 1));
    }
}

void SaveDataModel::removeSector(int row)
{
    if (row < 0 || row >= m_saveData.sectorCount())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_saveData.removeSector(row);
    endRemoveRows();
    const int active = m_saveData.activeSectorIndex();
    if (active >= 0 && active < m_saveData.sectorCount()) {
        const QModelIndex activeIndex = index(active, 0);
        emit dataChanged(activeIndex, activeIndex);
    }
    // The later points moved up, and their labels carry their number.
    if (row < m_saveData.sectorCount())
        emit dataChanged(index(row, 0), index(m_saveData.sectorCount() - 1, 0));
}

void SaveDataModel::replaceActiveSector(const SaveDataSector &sector)
{
    m_saveData.replaceActiveSector(sector);
    const int active = m_saveData.activeSectorIndex();
    if (active < 0 || active >= m_saveData.sectorCount())
        return;
    const QModelIndex point = index(active, 0);
    emit dataChanged(index(0, 0, point), index(ItemCount - 1, 1, point));
}

void SaveDataModel::addSectorIfEmpty()
{
    if (m_saveData.sectorCount() > 0)
        return;
    beginInsertRows(QModelIndex(), 0, 0);
    m_saveData.addSector();
    endInsertRows();
}

QModelIndex SaveDataModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    return createIndex(row, column, parent.isValid() ? quintptr(parent.row()) + 1 : PointId);
}

QModelIndex SaveDataModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == PointId)
        return QModelIndex();
    return createIndex(int(child.internalId() - 1), 0, PointId);
}

int SaveDataModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return m_saveData.sectorCount();
    if (parent.internalId() == PointId && parent.column() == 0)
        return ItemCount;
    return 0;
}

int SaveDataModel::columnCount(const QModelIndex &) const
{
    return 2;
}

QVariant SaveDataModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid()) {
        if (role == MetadataHtmlRole && m_saveData.nonEmptySectorCount() > 0)
            return metadataHtml();
        return QVariant();
    }
    if (index.internalId() == PointId)
        return pointData(index.row(), index.column(), role);
    const int point = int(index.internalId() - 1);
    if (point < 0 || point >= m_saveData.sectorCount())
        return QVariant();
    return itemData(m_saveData.sectors().at(point), index.row(), index.column(), role);
}

QVariant SaveDataModel::pointData(int row, int column, int role) const
{
    if (row < 0 || row >= m_saveData.sectorCount())
        return QVariant();
    const SaveDataSector &sector = m_saveData.sectors().at(row);
    switch (role) {
    case Qt::DisplayRole: {
        if (column != 0)
            return QVariant();
        QString identification = sector.identificationData.mineral_final_identification;
        if (identification.isEmpty())
            identification = tr("nicht identifiziert");
        if (sector.missingOnDisk)
            return tr("Messpunkt Nr. %1 (%2) - Dateien fehlen")
                .arg(QString::number(row + 1), identification);
        return tr("Messpunkt Nr. %1 (%2)").arg(QString::number(row + 1), identification);
    }
    case Qt::FontRole:
        if (row == m_saveData.activeSectorIndex()) {
            QFont bold;
            bold.setWeight(QFont::Bold);
            return bold;
        }
        return QVariant();
    case PreviewRole:
        return sector.identificationData.searchResultImage;
    default:
        return QVariant();
    }
}

QVariant SaveDataModel::itemData(const SaveDataSector &sector, int item, int column, int role) const
{
    if (item < 0 || item >= ItemCount)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        if (column == 0)
            return tr(itemLabels[item]);
        switch (item) {
        case RawSpectrumItem:
        case ProcessedSpectrumItem: {
            const RamanData<Wavenumbers> &spectrum
                = item == RawSpectrumItem ? sector.rawSpectrum : sector.processedSpectrum;
            return spectrum.x.size() == spectrum.y.size() ? spectrum.x.size() : -1;
        }
        case SearchResultItem:
        case ExposureDataItem:
            return QVariant();
        default:
            return sizeText(preview(sector, item).value<QImage>());
        }
    case Qt::DecorationRole:
        if (column != 0)
            return QVariant();
        return statusIcon(!isEmptyPreview(preview(sector, item)));
    case PreviewRole:
        return preview(sector, item);
    default:
        return QVariant();
    }
}

QVariant SaveDataModel::preview(const SaveDataSector &sector, int item) const
{
    switch (item) {
    case WithLaserImageItem:
        return sector.withLaserImage;
    case SearchResultImageItem:
        return sector.identificationData.searchResultImage;
    case RawSpectrumItem:
        return spectrumText(sector.rawSpectrum);
    case ProcessedSpectrumItem:
        return spectrumText(sector.processedSpectrum);
    case RawSpectrumImageItem:
        return sector.rawSpectrumImage;
    case CcdRawImageItem:
        return sector.ccdRawImage;
    case SearchResultItem:
        return identificationHtml(sector.identificationData);
    case SearchResultTableImageItem:
        return sector.identificationData.searchResultTableImage;
    case ExposureDataItem:
        return exposureHtml(sector.exposureData);
    default:
        return QVariant();
    }
}

QString SaveDataModel::spectrumText(const RamanData<Wavenumbers> &spectrum)
{
    QString text;
    if (spectrum.x.size() != spectrum.y.size())
        return text;
    text.reserve(10 * spectrum.x.size());
    for (int i = 0; i < spectrum.x.size(); ++i) {
        text += QString::number(spectrum.x.at(i), 'g', 4) + QLatin1Char('\t')
                + QString::number(spectrum.y.at(i), 'g', 4) + QLatin1Char('\n');
    }
    return text;
}

// Values go into the tables as they stand: a remark may carry markup on purpose.
QString SaveDataModel::exposureHtml(const ExposureData &exposure) const
{
    return htmlTable({
        htmlRow(tr("Belichtungszeit"), QString::number(exposure.exp_time) + QStringLiteral(" s")),
        htmlRow(tr("Neutralfilter"), exposure.ND_filter_used),
        htmlRow(tr("Objektiv"), exposure.exposure_objective),
        htmlRow(tr("Gain"), QString::number(exposure.gain) + QStringLiteral(" e-/count")),
        htmlRow(tr("Temperatur Kamera"),
                QString::number(exposure.cam_temp, 'g', 6) + QStringLiteral(" °C")),
    });
}

QString SaveDataModel::identificationHtml(const IdentificationData &identification) const
{
    // The stored keywords of the mineral search, as the analysis window words them.
    const auto confidence = [](const QString &keyword) {
        if (keyword == QLatin1String("confident"))
            return tr("sicher");
        if (keyword == QLatin1String("likely"))
            return tr("wahrscheinlich");
        return keyword.isEmpty() ? QString() : tr("unsicher");
    };
    QStringList rows{
        htmlRow(tr("Automatisch identifiziert"), identification.mineral_suggested_auto),
        htmlRow(tr("Match-Qualität"), QString::number(identification.auto_korrelation, 'g', 6)),
    };
    if (!identification.auto_confidence.isEmpty())
        rows << htmlRow(tr("Sicherheit"), confidence(identification.auto_confidence));
    if (!identification.auto_group.isEmpty())
        rows << htmlRow(tr("Gruppe"), QStringLiteral("%1 (%2)").arg(
                                          identification.auto_group,
                                          confidence(identification.auto_group_confidence)));
    rows << htmlRow(tr("Manuell ausgewählt"), identification.mineral_suggested_manual);
    return htmlTable(rows);
}

QString SaveDataModel::metadataHtml() const
{
    const SaveDataMetadata &m = m_saveData.metadata();
    const QLocale locale; // the language of the user interface, not of the system
    QStringList rows{
        htmlRow(tr("Sammlung"), m.collection_name),
        htmlRow(tr("Sammlungs-Nummer"), m.collection_id),
        htmlRow(tr("Besitzer"), m.owner),
        htmlRow(tr("Fundort"), m.location),
    };
    if (!m.nodate) {
        if (m.found_date_year_only)
            rows << htmlRow(tr("Fundjahr"), QString::number(m.found_date.year()));
        else
            rows << htmlRow(tr("Funddatum"), locale.toString(m.found_date, QLocale::ShortFormat));
    }
    const QString createdAs
        = m.created_as_version >= 1 ? QString::number(m.created_as_version) : tr("8 oder früher");
    rows << htmlRow(tr("ID-Nummer"), m.unique_ident)
         << htmlRow(tr("Daten aufgenommen"), locale.toString(m.created_date, QLocale::ShortFormat))
         << htmlRow(tr("Daten bearbeitet"), locale.toString(m.saved_date, QLocale::ShortFormat))
         << htmlRow(tr("Daten-Version"),
                    tr("%1 (erstellt: %2)").arg(QString::number(m.save_data_version), createdAs));
    return htmlTable(rows);
}

const QPixmap &SaveDataModel::statusIcon(bool complete) const
{
    // Pixmaps need the GUI application, so they are made on first use.
    QPixmap &icon = complete ? m_completeIcon : m_attentionIcon;
    if (icon.isNull()) {
        icon = QPixmap(complete ? QStringLiteral(":/icons/task-complete.png")
                                : QStringLiteral(":/icons/task-attention.png"))
                   .scaledToWidth(16, Qt::SmoothTransformation);
    }
    return icon;
}
