#pragma once

#include "storage/savedatarecords.h"

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

} // namespace SaveDataJson
