#include "browse/savedatabrowsemodel.h"

#include "browse/browseindex.h"
#include "browse/browsescan.h"
#include "storage/savedata.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QtConcurrent>

#include <limits>

namespace {

constexpr int pollMs = 15;
constexpr int rowsPerTurn = 5000;

QString stars(int rating)
{
    return rating > 0 ? QString(rating, QChar(0x2605)) : QString();
}

qint64 sortableTime(const QDateTime &dateTime)
{
    return dateTime.isValid() ? dateTime.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
}

} // namespace

SaveDataBrowseModel::SaveDataBrowseModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_indexPath(BrowseIndex::defaultPath())
{
    m_poll.setInterval(pollMs);
    connect(&m_poll, &QTimer::timeout, this, &SaveDataBrowseModel::takeFindings);
}

SaveDataBrowseModel::~SaveDataBrowseModel()
{
    if (m_scan)
        m_scan->cancelled = true;
}

void SaveDataBrowseModel::setDirectory(const QString &directory)
{
    if (m_scan)
        m_scan->cancelled = true;
    beginResetModel();
    m_entries.clear();
    m_rowOf.clear();
    m_backlog = BrowseScanBatch();
    m_baseDirectory = directory;
    endResetModel();
    m_scan = std::make_shared<BrowseScanMailbox>();
    m_loading = true;
    m_finishing = false;
    QtConcurrent::run(scanMeasurements, QDir::cleanPath(QFileInfo(directory).absoluteFilePath()),
                      m_indexPath, m_scan);
    m_poll.start();
}

void SaveDataBrowseModel::takeFindings()
{
    BrowseScanBatch batch = m_scan->take();
    m_backlog.added += batch.added;
    m_backlog.changed += batch.changed;
    m_backlog.removed += batch.removed;
    m_finishing = m_finishing || batch.done;
    const int pending = batch.pending;

    // Tens of thousands of rows from the index go in over a few turns, so that the window
    // answers meanwhile; what changed waits until the rows it changes are there.
    const int count = qMin(int(m_backlog.added.size()), rowsPerTurn);
    if (count > 0) {
        const int first = m_entries.size();
        beginInsertRows(QModelIndex(), first, first + count - 1);
        for (int i = 0; i < count; ++i) {
            m_rowOf.insert(m_backlog.added.at(i).folder, m_entries.size());
            m_entries.append(m_backlog.added.at(i));
        }
        endInsertRows();
        m_backlog.added.remove(0, count);
    }
    const bool changed = m_backlog.added.isEmpty() && !m_backlog.changed.isEmpty();
    if (m_backlog.added.isEmpty()) {
        for (const BrowseRow &row : qAsConst(m_backlog.changed)) {
            const int at = m_rowOf.value(row.folder, -1);
            if (at < 0)
                continue;
            m_entries[at] = row;
            emit dataChanged(index(at, 0), index(at, ColumnCount - 1));
        }
        removeRows(m_backlog.removed);
        m_backlog = BrowseScanBatch();
    }
    if (count > 0 || changed) {
        emit progress(m_entries.size(), m_entries.size() + m_backlog.added.size() + pending);
        return; // the rows of the last batch are shown a turn before the scan says it is done
    }
    if (m_finishing) {
        m_poll.stop();
        m_loading = false;
        m_finishing = false;
        emit progress(m_entries.size(), m_entries.size());
        emit loadingFinished();
    }
}

void SaveDataBrowseModel::removeRows(const QStringList &folders)
{
    for (const QString &folder : folders) {
        const int at = m_rowOf.value(folder, -1);
        if (at < 0)
            continue;
        beginRemoveRows(QModelIndex(), at, at);
        m_entries.removeAt(at);
        endRemoveRows();
        m_rowOf.clear();
        for (int row = 0; row < m_entries.size(); ++row)
            m_rowOf.insert(m_entries.at(row).folder, row);
    }
}

void SaveDataBrowseModel::reloadRow(int row)
{
    if (row < 0 || row >= m_entries.size())
        return;
    const QString path = m_entries.at(row).folder;
    SaveData entry;
    entry.load(path, ListMetadata);
    m_entries[row] = BrowseRow::fromSaveData(entry);
    m_entries[row].folder = path;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int SaveDataBrowseModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_entries.size();
}

int SaveDataBrowseModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SaveDataBrowseModel::displayValue(const BrowseRow &entry, int column) const
{
    switch (column) {
    case SectorCountColumn:
        return entry.sectorCount;
    case RatingColumn:
        return stars(entry.rating);
    case CollectionColumn:
        return entry.collectionName;
    case CollectionIdColumn:
        return entry.collectionId;
    case ContentsColumn:
        return entry.identifications.mid(0, 3).join(QStringLiteral(", "));
    case CreatedColumn:
        return QLocale().toString(entry.created, QLocale::ShortFormat);
    case SavedColumn:
        return QLocale().toString(entry.saved, QLocale::ShortFormat);
    case UniqueIdColumn:
        return entry.uniqueIdent;
    default:
        return QVariant();
    }
}

QVariant SaveDataBrowseModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size() || index.column() < 0
        || index.column() >= ColumnCount)
        return QVariant();
    const BrowseRow &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return displayValue(entry, index.column());
    case FolderPathRole:
        return entry.folder;
    case OwnerRole:
        return entry.owner;
    case IdentificationsRole:
        return entry.identifications.join(QStringLiteral(", "));
    case RatingRole:
        return entry.rating;
    case CollectionIdRole:
        return entry.collectionId;
    case SortKeyRole:
        switch (index.column()) {
        case RatingColumn:
            return entry.rating;
        case CreatedColumn:
            return sortableTime(entry.created);
        case SavedColumn:
            return sortableTime(entry.saved);
        default:
            return displayValue(entry, index.column());
        }
    default:
        return QVariant();
    }
}

QVariant SaveDataBrowseModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case SectorCountColumn:
        return tr("#");
    case RatingColumn:
        return tr("Bewertung");
    case CollectionColumn:
        return tr("Sammlung");
    case CollectionIdColumn:
        return tr("Bezeichnung");
    case ContentsColumn:
        return tr("Inhalte");
    case CreatedColumn:
        return tr("Erstellt");
    case SavedColumn:
        return tr("Geändert");
    case UniqueIdColumn:
        return tr("Eindeutige ID");
    default:
        return QVariant();
    }
}
