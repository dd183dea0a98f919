#pragma once

#include <QMetaType>
#include <QSortFilterProxyModel>

// Filters and sorts the rows of a SaveDataBrowseModel by its custom roles.
class SaveDataBrowseFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    struct Filter
    {
        QString owner;      // substring of the owner
        QString result;     // substring of the identifications
        QString identifier; // substring of the collection number
        qint32 minRating = 0;
        bool hideEmpty = false;
        bool hideUnrated = false;

        bool operator==(const Filter &o) const
        {
            return owner == o.owner && result == o.result && identifier == o.identifier
                   && minRating == o.minRating && hideEmpty == o.hideEmpty
                   && hideUnrated == o.hideUnrated;
        }
    };

    explicit SaveDataBrowseFilterModel(QObject *parent = nullptr);

    void setFilter(const Filter &filter);
    Filter filter() const { return m_filter; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    Filter m_filter;
};

Q_DECLARE_METATYPE(SaveDataBrowseFilterModel::Filter)
