#pragma once

#include "storage/savedatarecords.h"

#include <QJsonArray>
#include <QJsonObject>

// The JSON objects of metadata.json. Reading is lenient: a missing key or a value of the wrong
// type gives the field's type default.
namespace SaveDataJson {

ExposureData exposureFromJson(const QJsonObject &object);
QJsonObject exposureToJson(const ExposureData &exposure);

// The pictures of the identification are not part of the JSON record.
IdentificationData identificationFromJson(const QJsonObject &object);
QJsonObject identificationToJson(const IdentificationData &identification);

// exposure_objective, image_width, exposure_data and identification_data of a sector.
void readSector(const QJsonObject &object, SaveDataSector &sector);
QJsonObject sectorToJson(const SaveDataSector &sector);
// The sector objects of the non-empty sectors, in order: the n-th describes Location<n>.
QJsonArray sectorsToJson(const QVector<SaveDataSector> &sectors);

// The top-level record as any version wrote it; older versions are mapped onto the current
// fields (collection keys from label and number, creation date from the saved date).
SaveDataMetadata metadataFromJson(const QJsonObject &json);
// The raw sector objects of the record, for reading them with readSector.
QJsonArray sectorObjects(const QJsonObject &json);
// owner_ident_label, which below version 8 also names the files of a folder.
QString ownerIdentLabel(const QJsonObject &json);

// metadata.json keeps local time without a zone and empty text for a missing date; reports show
// ISO text and null.
enum class DateStyle { File, Report };
QJsonObject metadataToJson(const SaveDataMetadata &metadata, const QJsonArray &sectors,
                           DateStyle dates = DateStyle::File);
// The record as the older format `version` wrote it: below 8 the collection as label and number,
// below 9 no creation keys, and no rating key without a rating.
QJsonObject metadataToJson(const SaveDataMetadata &metadata, const QJsonArray &sectors, int version,
                           const QString &label, const QString &number);

} // namespace SaveDataJson
