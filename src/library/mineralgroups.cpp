#include "library/mineralgroups.h"

#include "core/logging.h"
#include "library/chemistry.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The list writes Bastnäsite where file names write Bastnasite.
QString groupKey(const QString &name)
{
    static const QRegularExpression marks(QStringLiteral("\\p{Mn}"));
    return chemistryKey(name.normalized(QString::NormalizationForm_D).remove(marks));
}

} // namespace

const MineralGroups &MineralGroups::shipped()
{
    static const MineralGroups groups = read(QStringLiteral(":/mineral-groups.csv"));
    return groups;
}

MineralGroups MineralGroups::read(const QString &path)
{
    MineralGroups table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCWarning(logDataLibraries) << "failed to open mineral groups:" << path;
        return table;
    }
    static const QString none = QStringLiteral("Not in a structural group");
    const QString content = QString::fromUtf8(file.readAll());
    for (const QStringRef &line : content.splitRef(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        // A listed mineral in no group is kept too: it is no unlisted name with a suffix.
        const int tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0)
            continue;
        QStringList groups;
        for (const QStringRef &part : line.mid(tab + 1).split(QLatin1Char(','))) {
            const QString group = part.trimmed().toString();
            if (!group.isEmpty() && group != none && !groups.contains(group))
                groups.append(group);
        }
        table.m_groups.insert(groupKey(line.left(tab).toString()), groups);
        for (const QString &group : qAsConst(groups))
            table.m_groupsByName.insert(groupKey(group), group);
    }
    return table;
}

QStringList MineralGroups::groupsOf(const QString &mineral) const
{
    const QString key = groupKey(mineral);
    // A name the list lacks may be a listed one with a polytype or variant suffix of up to five
    // letters or digits (MimetiteM, ApophylliteKF, Wollastonite2M).
    for (int length = key.size(); length >= std::max(4, key.size() - 5); --length) {
        const QString prefix = key.left(length);
        const auto found = m_groups.constFind(prefix);
        if (found != m_groups.cend())
            return *found;
        const QString group = m_groupsByName.value(prefix);
        if (!group.isEmpty())
            return {group};
    }
    return {};
}
