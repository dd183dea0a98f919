#include "browse/savedatabrowsefiltermodel.h"

#include "browse/savedatabrowsemodel.h"

SaveDataBrowseFilterModel::SaveDataBrowseFilterModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setSortRole(SaveDataBrowseModel::SortKeyRole);
}

void SaveDataBrowseFilterModel::setFilter(const Filter &filter)
{
    m_filter = filter;
    invalidateFilter();
}

bool SaveDataBrowseFilterModel::filterAcceptsRow(int sourceRow,
                                                 const QModelIndex &sourceParent) const
{
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    if (m_filter.hideEmpty && index.data(Qt::DisplayRole).toInt() == 0)
        return false;

    const int rating = index.data(SaveDataBrowseModel::RatingRole).toInt();
    if (m_filter.hideUnrated && rating == -1)
        return false;
    // Unrated rows only face the minimum when unrated rows are hidden anyway.
    if ((m_filter.hideUnrated || rating != -1) && rating < m_filter.minRating)
        return false;

    const auto lacks = [&index](int role, const QString &text) {
        return !text.isEmpty() && !index.data(role).toString().contains(text, Qt::CaseInsensitive);
    };
    if (lacks(SaveDataBrowseModel::OwnerRole, m_filter.owner))
        return false;
    if (lacks(SaveDataBrowseModel::IdentificationsRole, m_filter.result))
        return false;
    if (lacks(SaveDataBrowseModel::CollectionIdRole, m_filter.identifier))
        return false;
    return true;
}
