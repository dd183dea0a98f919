#include "storage/savedatajson.h"

namespace SaveDataJson {

namespace {

// Each record's keys are listed once, in a function that hands every key with its field to a
// visitor, for the record or the const record; reading and writing are two visitors.

const auto exposureFields = [](auto &e, auto &&visit) {
    visit("exp_time", e.exp_time);
    visit("gain", e.gain);
    visit("cam_temp", e.cam_temp);
    visit("ND_filter_used", e.ND_filter_used);
    visit("exposure_objective", e.exposure_objective);
    visit("objective_focal_length_camera", e.objective_focal_length_camera);
    visit("slitwidth", e.slitwidth);
    visit("laser_wavelength", e.laser_wavelength);
};

// The pictures of the identification are not part of the JSON record.
const auto identificationFields = [](auto &i, auto &&visit) {
    visit("mineral_suggested_auto", i.mineral_suggested_auto);
    visit("mineral_suggested_manual", i.mineral_suggested_manual);
    visit("mineral_final_identification", i.mineral_final_identification);
    visit("auto_korrelation", i.auto_korrelation);
    visit("manual_korrelation", i.manual_korrelation);
    visit("raman_library_ident_no", i.raman_library_ident_no);
    visit("objective_focal_length_camera", i.objective_focal_length_camera);
    visit("auto_confidence", i.auto_confidence);
    visit("auto_group", i.auto_group);
    visit("auto_group_confidence", i.auto_group_confidence);
};

const char *const analysisSettingsKey = "analysis_settings";

const char *const versionKey = "save_data_version";
const char *const createdAsVersionKey = "created_as_version";

// The top-level keys that every version reads and writes alike; the collection, the dates and
// the rating depend on the version or have their own form.
const auto plainMetadataFields = [](auto &m, auto &&visit) {
    visit(versionKey, m.save_data_version);
    visit(createdAsVersionKey, m.created_as_version);
    visit("owner", m.owner);
    visit("unique_ident", m.unique_ident);
    visit("location", m.location);
    visit("found_date_year_only", m.found_date_year_only);
    visit("nodate", m.nodate);
    visit("mineral_comment", m.mineral_comment);
};

const char *const collectionNameKey = "collection_name";
const char *const collectionIdKey = "collection_id";
const char *const ownerIdentLabelKey = "owner_ident_label";
const char *const ownerIdentNoKey = "owner_ident_no";
const char *const foundDateKey = "found_date";
const char *const savedDateKey = "saved_date";
const char *const createdDateKey = "created_date";
const char *const ratingKey = "rating";
const char *const sectorsKey = "sectors";

// A missing key or a value of the wrong type gives the type's default.
void fromValue(const QJsonValue &value, QString &field)
{
    field = value.toString();
}
void fromValue(const QJsonValue &value, double &field)
{
    field = value.toDouble();
}
void fromValue(const QJsonValue &value, qint32 &field)
{
    field = value.toInt();
}
void fromValue(const QJsonValue &value, bool &field)
{
    field = value.toBool();
}

template<typename Record, typename Fields>
Record readRecord(const QJsonObject &object, Fields fields)
{
    Record record;
    fields(record, [&object](const char *key, auto &field) {
        fromValue(object.value(QLatin1String(key)), field);
    });
    return record;
}

template<typename Record, typename Fields>
void writeRecord(const Record &record, QJsonObject &object, Fields fields)
{
    fields(record, [&object](const char *key, const auto &field) {
        object.insert(QLatin1String(key), field);
    });
}

QString text(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toString();
}

QDateTime dateTime(const QJsonObject &object, const char *key)
{
    return QDateTime::fromString(text(object, key), Qt::ISODate);
}

QString collectionIdFromLabel(const QString &label, const QString &number)
{
    if (!label.isEmpty() && !number.isEmpty())
        return label + QLatin1Char('_') + number;
    return label.isEmpty() ? number : label;
}

QJsonValue dateValue(const QDate &date, DateStyle style)
{
    if (!date.isValid())
        return style == DateStyle::File ? QJsonValue(QString()) : QJsonValue(QJsonValue::Null);
    return date.toString(Qt::ISODate);
}

// The file keeps local time in whole seconds and no zone.
QJsonValue dateTimeValue(const QDateTime &dateTime, DateStyle style)
{
    if (!dateTime.isValid())
        return style == DateStyle::File ? QJsonValue(QString()) : QJsonValue(QJsonValue::Null);
    if (style == DateStyle::Report)
        return dateTime.toString(Qt::ISODate);
    return dateTime.toLocalTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

} // namespace

ExposureData exposureFromJson(const QJsonObject &object)
{
    return readRecord<ExposureData>(object, exposureFields);
}

QJsonObject exposureToJson(const ExposureData &e)
{
    QJsonObject object;
    writeRecord(e, object, exposureFields);
    return object;
}

IdentificationData identificationFromJson(const QJsonObject &object)
{
    IdentificationData i = readRecord<IdentificationData>(object, identificationFields);
    i.analysis_settings = object.value(QLatin1String(analysisSettingsKey)).toObject();
    return i;
}

QJsonObject identificationToJson(const IdentificationData &i)
{
    QJsonObject object;
    writeRecord(i, object, identificationFields);
    if (!i.analysis_settings.isEmpty())
        object.insert(QLatin1String(analysisSettingsKey), i.analysis_settings);
    return object;
}

void readSector(const QJsonObject &object, SaveDataSector &sector)
{
    sector.exposure_objective = text(object, "exposure_objective");
    sector.image_width = text(object, "image_width");
    sector.exposureData = exposureFromJson(object.value(QLatin1String("exposure_data")).toObject());
    const IdentificationData read
        = identificationFromJson(object.value(QLatin1String("identification_data")).toObject());
    // Keep pictures that may already be in the sector.
    IdentificationData &target = sector.identificationData;
    const QImage result = target.searchResultImage;
    const QImage table = target.searchResultTableImage;
    target = read;
    target.searchResultImage = result;
    target.searchResultTableImage = table;
}

QJsonObject sectorToJson(const SaveDataSector &sector)
{
    return QJsonObject{
        {QStringLiteral("exposure_objective"), sector.exposure_objective},
        {QStringLiteral("image_width"), sector.image_width},
        {QStringLiteral("exposure_data"), exposureToJson(sector.exposureData)},
        {QStringLiteral("identification_data"), identificationToJson(sector.identificationData)},
    };
}

QJsonArray sectorsToJson(const QVector<SaveDataSector> &sectors)
{
    QJsonArray array;
    for (const SaveDataSector &sector : sectors) {
        if (!sector.isEmpty())
            array.append(sectorToJson(sector));
    }
    return array;
}

QJsonArray sectorObjects(const QJsonObject &json)
{
    return json.value(QLatin1String(sectorsKey)).toArray();
}

QString ownerIdentLabel(const QJsonObject &json)
{
    return text(json, ownerIdentLabelKey);
}

SaveDataMetadata metadataFromJson(const QJsonObject &json)
{
    SaveDataMetadata m = readRecord<SaveDataMetadata>(json, plainMetadataFields);
    if (m.save_data_version >= 8) {
        m.collection_name = text(json, collectionNameKey);
        m.collection_id = text(json, collectionIdKey);
    } else {
        m.collection_id = collectionIdFromLabel(ownerIdentLabel(json), text(json, ownerIdentNoKey));
    }
    m.found_date = QDate::fromString(text(json, foundDateKey), Qt::ISODate);
    m.saved_date = dateTime(json, savedDateKey);
    m.created_date = m.save_data_version < 9 ? m.saved_date : dateTime(json, createdDateKey);
    m.rating = json.contains(QLatin1String(ratingKey))
                   ? json.value(QLatin1String(ratingKey)).toInt()
                   : -1;
    return m;
}

QJsonObject metadataToJson(const SaveDataMetadata &m, const QJsonArray &sectors, DateStyle dates)
{
    QJsonObject json;
    writeRecord(m, json, plainMetadataFields);
    json.insert(QLatin1String(collectionNameKey), m.collection_name);
    json.insert(QLatin1String(collectionIdKey), m.collection_id);
    json.insert(QLatin1String(foundDateKey), dateValue(m.found_date, dates));
    json.insert(QLatin1String(savedDateKey), dateTimeValue(m.saved_date, dates));
    json.insert(QLatin1String(createdDateKey), dateTimeValue(m.created_date, dates));
    json.insert(QLatin1String(ratingKey), m.rating);
    json.insert(QLatin1String(sectorsKey), sectors);
    return json;
}

QJsonObject metadataToJson(const SaveDataMetadata &metadata, const QJsonArray &sectors, int version,
                           const QString &label, const QString &number)
{
    QJsonObject json = metadataToJson(metadata, sectors);
    json.insert(QLatin1String(versionKey), version);
    if (version < 8) {
        json.remove(QLatin1String(collectionNameKey));
        json.remove(QLatin1String(collectionIdKey));
        json.insert(QLatin1String(ownerIdentLabelKey), label);
        json.insert(QLatin1String(ownerIdentNoKey), number);
    }
    if (version < 9) {
        json.remove(QLatin1String(createdAsVersionKey));
        json.remove(QLatin1String(createdDateKey));
    }
    if (metadata.rating < 0)
        json.remove(QLatin1String(ratingKey));
    return json;
}

} // namespace SaveDataJson
