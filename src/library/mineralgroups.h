#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The structural groups of minerals as the IMA list names them ("Garnet", "Amphibole"), read from
// the table the program ships. A mineral the list puts in two groups ("Mica, Clay") belongs to
// both; a library name that is itself a group's name (RRUFF's "Tourmaline") belongs to that group,
// and one with a polytype or variant suffix (MimetiteM) to the groups of the name it extends.
class MineralGroups
{
public:
    // The shipped table (":/mineral-groups.csv"), read on first use.
    static const MineralGroups &shipped();
    // "<name>\t<group>[, <group>...]" per line, every listed mineral (no group: empty); an
    // unreadable file gives no groups and a warning.
    static MineralGroups read(const QString &path);

    // Groups of a mineral named as in reference file names (BastnasiteCe) or as the IMA list
    // writes it (Bastnäsite-(Ce)); empty when it is in none.
    QStringList groupsOf(const QString &mineral) const;
    bool isEmpty() const { return m_groups.isEmpty(); }

private:
    QHash<QString, QStringList> m_groups;   // key of the mineral -> groups
    QHash<QString, QString> m_groupsByName; // key of the group -> group
};
