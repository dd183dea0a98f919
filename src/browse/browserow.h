#pragma once

#include <QDataStream>
#include <QDateTime>
#include <QStringList>

class SaveData;

// What the list shows of one measurement folder: a small value, read from its metadata.json or
// from the index of earlier scans.
struct BrowseRow
{
    QString folder;
    QString owner;
    QString collectionName;
    QString collectionId;
    QString uniqueIdent;
    QDateTime created;
    QDateTime saved;
    qint32 rating = -1;
    qint32 sectorCount = 0;
    QStringList identifications; // distinct final identifications in point order

    static BrowseRow fromSaveData(const SaveData &data);
};

QDataStream &operator<<(QDataStream &stream, const BrowseRow &row);
QDataStream &operator>>(QDataStream &stream, BrowseRow &row);
