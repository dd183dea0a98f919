#pragma once

#include <QSortFilterProxyModel>
#include <QStringList>
#include <QVector>

// Narrows the library table by mineral name, by required elements and by formula fragments, and
// sorts it by the raw values of RamanLibraryModel::SortRole.
class MineralSortFilterProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit MineralSortFilterProxyModel(QObject *parent = nullptr);

    // `name`: a prefix when it starts with a capital, else a part of the name in any case.
    // `elementText`: element symbols as typed, separated by blanks or commas; a token starting
    // with ':' is a piece of the plain formula instead, e.g. "Fe, S :O4".
    void setFilter(const QString &name, const QString &elementText);

    QString nameFilter() const { return m_nameFilter; }
    QVector<quint16> requiredElements() const { return m_requiredElements; }
    QStringList requiredFragments() const { return m_requiredFragments; }

    // The code of a symbol as typed: (first << 8) | second; 0 for anything longer.
    static quint16 typedElementCode(const QString &token);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    QString m_nameFilter;
    QVector<quint16> m_requiredElements;
    QStringList m_requiredFragments;
};
