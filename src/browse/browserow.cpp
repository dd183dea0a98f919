#include "browse/browserow.h"

#include "storage/savedata.h"

BrowseRow BrowseRow::fromSaveData(const SaveData &data)
{
    const SaveDataMetadata &m = data.metadata();
    return {data.folderPath(),
            m.owner,
            m.collection_name,
            m.collection_id,
            m.unique_ident,
            m.created_date,
            m.saved_date,
            m.rating,
            data.nonEmptySectorCount(),
            data.finalIdentifications()};
}

QDataStream &operator<<(QDataStream &stream, const BrowseRow &row)
{
    return stream << row.owner << row.collectionName << row.collectionId << row.uniqueIdent
                  << row.created << row.saved << row.rating << row.sectorCount
                  << row.identifications;
}

QDataStream &operator>>(QDataStream &stream, BrowseRow &row)
{
    return stream >> row.owner >> row.collectionName >> row.collectionId >> row.uniqueIdent
           >> row.created >> row.saved >> row.rating >> row.sectorCount >> row.identifications;
}
