#include "library/model/ramanlibrarymodel.h"

#include "core/logging.h"
#include "pictures/nicepicinfos.h"

#include <QColor>
#include <QFileInfo>

#include <cmath>
#include <limits>

RamanLibraryModel::RamanLibraryModel(QObject *parent)
    : QAbstractTableModel(parent)
{
    qRegisterMetaType<Chemistry>("Chemistry");
}

void RamanLibraryModel::setLibraryData(const QVector<rruff_infos> &infos)
{
    beginResetModel();
    m_loaded = true;
    m_scores.clear();
    m_rows = infos;
    m_pictureCounts.clear();
    endResetModel();
}

void RamanLibraryModel::setResultScores(const QVector<double> &scores,
                                        const QHash<int, QString> &confidences,
                                        const QHash<int, QString> &groups, int answerRow,
                                        const QString &answerNote)
{
    const bool confidencesShown = !m_confidences.isEmpty() || !confidences.isEmpty()
                                  || !m_groups.isEmpty() || !groups.isEmpty();
    m_scores = scores;
    m_confidences = confidences;
    m_groups = groups;
    m_answerRow = answerRow;
    m_answerNote = answerNote;
    if (rowCount() > 0) {
        emit dataChanged(index(0, ScoreColumn), index(rowCount() - 1, ScoreColumn));
        if (confidencesShown)
            emit dataChanged(index(0, ConfidenceColumn), index(rowCount() - 1, GroupColumn));
    }
}

void RamanLibraryModel::picturesChanged()
{
    m_pictureCounts.clear();
    if (rowCount() > 0)
        emit dataChanged(index(0, PicturesColumn), index(rowCount() - 1, PicturesColumn));
}

int RamanLibraryModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_loaded ? m_rows.size() : PlaceholderRows;
}

int RamanLibraryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

bool RamanLibraryModel::hasScore(int row) const
{
    return row < m_scores.size() && m_scores.at(row) != -1;
}

QColor RamanLibraryModel::scoreColor(double score)
{
    if (score >= 9)
        return QColor(98, 239, 96);
    if (score >= 8)
        return QColor(139, 244, 139);
    if (score >= 7)
        return QColor(206, 244, 121);
    if (score >= 6)
        return QColor(236, 243, 164);
    if (score >= 5)
        return QColor(240, 215, 184);
    return QColor();
}

QVariant RamanLibraryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return QVariant();
    const int row = index.row();
    const int column = index.column();
    if (!m_loaded) {
        if (column == NameColumn && (role == Qt::DisplayRole || role == SortRole))
            return tr("Wird geladen ...");
        return QVariant();
    }
    switch (role) {
    case Qt::DisplayRole:
        return displayValue(row, column);
    case SortRole:
        if (column == ScoreColumn && row == m_answerRow && hasScore(row))
            return std::numeric_limits<double>::infinity();
        if (column == ScoreColumn)
            return hasScore(row) ? QVariant(m_scores.at(row)) : QVariant();
        return displayValue(row, column);
    case ChemistryRole:
        return QVariant::fromValue(m_rows.at(row).chemistry);
    case Qt::ToolTipRole:
        if ((column == ConfidenceColumn || column == GroupColumn)
            && !displayValue(row, column).toString().isEmpty())
            return row == m_answerRow && !m_answerNote.isEmpty()
                       ? m_answerNote + QStringLiteral("\n\n") + m_confidenceRule
                       : m_confidenceRule;
        if (column == ScoreColumn && row == m_answerRow)
            return m_answerNote.isEmpty() ? QVariant() : QVariant(m_answerNote);
        return QVariant();
    case Qt::BackgroundRole: {
        // Colours compare rows of one search, so a partial result colours nothing.
        if (column != ScoreColumn || m_scores.size() != m_rows.size() || !hasScore(row))
            return QVariant();
        const QColor color = scoreColor(m_scores.at(row));
        return color.isValid() ? QVariant(color) : QVariant();
    }
    default:
        return QVariant();
    }
}

QVariant RamanLibraryModel::displayValue(int row, int column) const
{
    const rruff_infos &info = m_rows.at(row);
    switch (column) {
    case ScoreColumn: {
        if (!hasScore(row))
            return QStringLiteral("--");
        const double score = m_scores.at(row);
        if (!std::isfinite(score) || score < 0 || score > 10.00001)
            qCWarning(logDataAlgorithms) << "strange result value:" << score;
        return QString::number(score, 'f', 2);
    }
    case NameColumn:
        return info.name;
    case FormulaColumn:
        return info.chemistry.formulaHtml;
    case NumberColumn:
        return info.number;
    case RruffIdColumn:
        return info.rruffId;
    case PicturesColumn:
        return pictureCount(info.name);
    case LibraryColumn:
        return info.library;
    case ConfidenceColumn:
        return m_confidences.value(row);
    case GroupColumn:
        return m_groups.value(row);
    default:
        return QVariant();
    }
}

int RamanLibraryModel::pictureCount(const QString &name) const
{
    const NicePicInfos store;
    const QDateTime pictureTime = QFileInfo(store.pictureFolder()).lastModified();
    const QDateTime recordTime = QFileInfo(store.recordFolder()).lastModified();
    if (pictureTime != m_pictureFolderTime || recordTime != m_recordFolderTime) {
        m_pictureCounts.clear();
        m_pictureFolderTime = pictureTime;
        m_recordFolderTime = recordTime;
    }
    auto known = m_pictureCounts.constFind(name);
    if (known != m_pictureCounts.constEnd())
        return known.value();
    const int count = store.pictureCount(name);
    m_pictureCounts.insert(name, count);
    return count;
}

QVariant RamanLibraryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && orientation == Qt::Horizontal
        && (section == ConfidenceColumn || section == GroupColumn) && !m_confidenceRule.isEmpty())
        return m_confidenceRule;
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QVariant();
    switch (section) {
    case ScoreColumn:
        return tr("Erg");
    case NameColumn:
        return tr("Mineral");
    case FormulaColumn:
        return tr("Formel");
    case NumberColumn:
        return tr("Ident Nr.");
    case RruffIdColumn:
        return tr("RRUFFID");
    case PicturesColumn:
        return tr("Bilder");
    case LibraryColumn:
        return tr("Datenbank");
    case ConfidenceColumn:
        return tr("Sicherheit");
    case GroupColumn:
        return tr("Gruppe");
    default:
        return QVariant();
    }
}
