#pragma once

#include "library/spectrumname.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QVector>

Q_DECLARE_METATYPE(Chemistry)

// Every spectrum of the reference library with its score from the last search. Until the
// library is loaded it shows placeholder rows.
class RamanLibraryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        ScoreColumn,
        NameColumn,
        FormulaColumn,
        NumberColumn,
        RruffIdColumn,
        PicturesColumn,
        LibraryColumn,
        ConfidenceColumn, // how far the answer of a mineral search can be trusted
        GroupColumn,      // the answer at the level of the structural group, with its confidence
        ColumnCount
    };
    enum Role {
        SortRole = Qt::UserRole + 1,      // the raw score in column 0, else the display value
        ChemistryRole = Qt::UserRole + 2, // the row's Chemistry
    };
    static constexpr int PlaceholderRows = 100;

    explicit RamanLibraryModel(QObject *parent = nullptr);

    bool isLoaded() const { return m_loaded; }
    const QVector<rruff_infos> &infos() const { return m_rows; }
    const QVector<double> &scores() const { return m_scores; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The colour of a score in column 0; invalid below 5.
    static QColor scoreColor(double score);

public slots:
    void setLibraryData(const QVector<rruff_infos> &infos);
    // One score per row (0..10, -1: none), in library order; `confidences` and `groups` give the
    // texts of the rows that carry one (row -> text). The search's answer (`answerRow`, -1: none)
    // sorts above every score, for it may score less than the next one; `answerNote` tells why in
    // its tool tip.
    void setResultScores(const QVector<double> &scores, const QHash<int, QString> &confidences = {},
                         const QHash<int, QString> &groups = {}, int answerRow = -1,
                         const QString &answerNote = {});
    bool hasConfidences() const { return !m_confidences.isEmpty(); }
    bool hasGroups() const { return !m_groups.isEmpty(); }
    // The tool tip of the confidence and group columns: how the confidence is decided.
    void setConfidenceRule(const QString &text) { m_confidenceRule = text; }
    // Mineral pictures were added or removed: recount them.
    void picturesChanged();

private:
    bool hasScore(int row) const;
    QVariant displayValue(int row, int column) const;
    int pictureCount(const QString &name) const;

    QVector<rruff_infos> m_rows;
    QVector<double> m_scores;
    QHash<int, QString> m_confidences;
    QHash<int, QString> m_groups;
    int m_answerRow = -1;
    QString m_answerNote;
    QString m_confidenceRule;
    bool m_loaded = false;

    // Counting reads two folders; the counts are kept until a folder of the store changes.
    mutable QHash<QString, int> m_pictureCounts;
    mutable QDateTime m_pictureFolderTime;
    mutable QDateTime m_recordFolderTime;
};
