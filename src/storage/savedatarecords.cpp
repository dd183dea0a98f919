#include "storage/savedatarecords.h"

bool ExposureData::operator==(const ExposureData &o) const
{
    return exp_time == o.exp_time && gain == o.gain && cam_temp == o.cam_temp
           && ND_filter_used == o.ND_filter_used && exposure_objective == o.exposure_objective
           && objective_focal_length_camera == o.objective_focal_length_camera
           && laser_wavelength == o.laser_wavelength && slitwidth == o.slitwidth;
}

bool IdentificationData::operator==(const IdentificationData &o) const
{
    return mineral_suggested_auto == o.mineral_suggested_auto
           && mineral_suggested_manual == o.mineral_suggested_manual
           && mineral_final_identification == o.mineral_final_identification
           && auto_korrelation == o.auto_korrelation && manual_korrelation == o.manual_korrelation
           && raman_library_ident_no == o.raman_library_ident_no
           && objective_focal_length_camera == o.objective_focal_length_camera
           && searchResultImage == o.searchResultImage
           && searchResultTableImage == o.searchResultTableImage
           && auto_confidence == o.auto_confidence && auto_group == o.auto_group
           && auto_group_confidence == o.auto_group_confidence
           && analysis_settings == o.analysis_settings;
}

bool SaveDataSector::isEmpty() const
{
    const bool rawSpectrumComplete = !rawSpectrum.x.isEmpty() && !rawSpectrum.y.isEmpty();
    return withLaserImage.isNull() && !rawSpectrumComplete
           && identificationData.searchResultImage.isNull()
           && identificationData.mineral_final_identification.isEmpty();
}

bool SaveDataSector::operator==(const SaveDataSector &o) const
{
    return withLaserImage == o.withLaserImage && withoutLaserImage == o.withoutLaserImage
           && ccdRawImage == o.ccdRawImage && rawSpectrumImage == o.rawSpectrumImage
           && exposure_objective == o.exposure_objective && image_width == o.image_width
           && exposureData == o.exposureData && rawSpectrum == o.rawSpectrum
           && processedSpectrum == o.processedSpectrum && ccdRaw == o.ccdRaw
           && calibrationLines == o.calibrationLines && identificationData == o.identificationData;
}

bool SaveDataMetadata::operator==(const SaveDataMetadata &o) const
{
    return owner == o.owner && collection_name == o.collection_name
           && collection_id == o.collection_id && unique_ident == o.unique_ident
           && location == o.location && mineral_comment == o.mineral_comment
           && save_data_version == o.save_data_version && found_date == o.found_date
           && found_date_year_only == o.found_date_year_only && nodate == o.nodate
           && saved_date == o.saved_date && created_as_version == o.created_as_version
           && created_date == o.created_date && overviewImage == o.overviewImage
           && rating == o.rating;
}
