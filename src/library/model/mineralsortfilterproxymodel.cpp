#include "library/model/mineralsortfilterproxymodel.h"

#include "library/model/ramanlibrarymodel.h"

#include <QRegularExpression>

#include <algorithm>

MineralSortFilterProxyModel::MineralSortFilterProxyModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setSortRole(RamanLibraryModel::SortRole);
    setDynamicSortFilter(false);
}

quint16 MineralSortFilterProxyModel::typedElementCode(const QString &token)
{
    if (token.size() == 1)
        return quint16((token.at(0).unicode() & 0xff) << 8);
    if (token.size() == 2)
        return quint16(((token.at(0).unicode() & 0xff) << 8) | (token.at(1).unicode() & 0xff));
    return 0;
}

void MineralSortFilterProxyModel::setFilter(const QString &name, const QString &elementText)
{
    m_nameFilter = name;
    m_requiredElements.clear();
    m_requiredFragments.clear();

    static const QRegularExpression separator(QStringLiteral("\\ |\\,"));
    QStringList tokens = elementText.split(separator);
    tokens.removeDuplicates();
    for (const QString &raw : qAsConst(tokens)) {
        const QString token = raw.trimmed();
        if (token.isEmpty())
            continue;
        if (token.startsWith(QLatin1Char(':')))
            m_requiredFragments.append(token.mid(1));
        else
            m_requiredElements.append(typedElementCode(token));
    }
    invalidateFilter();
}

bool MineralSortFilterProxyModel::filterAcceptsRow(int sourceRow,
                                                   const QModelIndex &sourceParent) const
{
    const QAbstractItemModel *source = sourceModel();
    if (!m_nameFilter.isEmpty()) {
        const QString name = source->index(sourceRow, RamanLibraryModel::NameColumn, sourceParent)
                                 .data()
                                 .toString();
        const bool accepted = m_nameFilter.at(0).isUpper()
                                  ? name.startsWith(m_nameFilter, Qt::CaseSensitive)
                                  : name.contains(m_nameFilter, Qt::CaseInsensitive);
        if (!accepted)
            return false;
    }
    if (m_requiredElements.isEmpty() && m_requiredFragments.isEmpty())
        return true;

    const Chemistry chemistry
        = source->index(sourceRow, RamanLibraryModel::ScoreColumn, sourceParent)
              .data(RamanLibraryModel::ChemistryRole)
              .value<Chemistry>();
    const auto containsElement = [&chemistry](quint16 code) {
        return std::find(chemistry.elements.cbegin(), chemistry.elements.cend(), code)
               != chemistry.elements.cend();
    };
    if (!std::all_of(m_requiredElements.cbegin(), m_requiredElements.cend(), containsElement))
        return false;
    return std::all_of(m_requiredFragments.cbegin(), m_requiredFragments.cend(),
                       [&chemistry](const QString &fragment) {
                           return chemistry.formulaPlain.contains(fragment, Qt::CaseSensitive);
                       });
}

bool MineralSortFilterProxyModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    // Rows without a value sort below every value, so that a descending sort by score puts
    // them last.
    const bool leftValid = left.data(sortRole()).isValid();
    const bool rightValid = right.data(sortRole()).isValid();
    if (leftValid != rightValid)
        return !leftValid;
    return QSortFilterProxyModel::lessThan(left, right);
}
