#include "storage/savedatajson.h"

namespace SaveDataJson {

namespace {

QString text(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toString();
}

double number(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toDouble();
}

qint32 integer(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toInt();
}

} // namespace

ExposureData exposureFromJson(const QJsonObject &object)
{
    ExposureData e;
    e.exp_time = integer(object, "exp_time");
    e.gain = integer(object, "gain");
    e.cam_temp = number(object, "cam_temp");
    e.ND_filter_used = text(object, "ND_filter_used");
    e.exposure_objective = text(object, "exposure_objective");
    e.objective_focal_length_camera = number(object, "objective_focal_length_camera");
    e.slitwidth = number(object, "slitwidth");
    e.laser_wavelength = number(object, "laser_wavelength");
    return e;
}

QJsonObject exposureToJson(const ExposureData &e)
{
    return QJsonObject{
        {QStringLiteral("exp_time"), e.exp_time},
        {QStringLiteral("gain"), e.gain},
        {QStringLiteral("cam_temp"), e.cam_temp},
        {QStringLiteral("ND_filter_used"), e.ND_filter_used},
        {QStringLiteral("exposure_objective"), e.exposure_objective},
        {QStringLiteral("objective_focal_length_camera"), e.objective_focal_length_camera},
        {QStringLiteral("slitwidth"), e.slitwidth},
        {QStringLiteral("laser_wavelength"), e.laser_wavelength},
    };
}

IdentificationData identificationFromJson(const QJsonObject &object)
{
    IdentificationData i;
    i.mineral_suggested_auto = text(object, "mineral_suggested_auto");
    i.mineral_suggested_manual = text(object, "mineral_suggested_manual");
    i.mineral_final_identification = text(object, "mineral_final_identification");
    i.auto_korrelation = number(object, "auto_korrelation");
    i.manual_korrelation = number(object, "manual_korrelation");
    i.raman_library_ident_no = text(object, "raman_library_ident_no");
    i.objective_focal_length_camera = number(object, "objective_focal_length_camera");
    return i;
}

QJsonObject identificationToJson(const IdentificationData &i)
{
    return QJsonObject{
        {QStringLiteral("mineral_suggested_auto"), i.mineral_suggested_auto},
        {QStringLiteral("mineral_suggested_manual"), i.mineral_suggested_manual},
        {QStringLiteral("mineral_final_identification"), i.mineral_final_identification},
        {QStringLiteral("auto_korrelation"), i.auto_korrelation},
        {QStringLiteral("manual_korrelation"), i.manual_korrelation},
        {QStringLiteral("raman_library_ident_no"), i.raman_library_ident_no},
        {QStringLiteral("objective_focal_length_camera"), i.objective_focal_length_camera},
    };
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

} // namespace SaveDataJson
