#pragma once

#include "spectrum/calibrationlines.h"
#include "spectrum/ramandata.h"

#include <QDate>
#include <QDateTime>
#include <QFlags>
#include <QImage>
#include <QJsonObject>
#include <QString>
#include <QVector>

// The in-memory records of one measurement folder. All are plain values with shared storage.

constexpr int CurrentSaveDataVersion = 11;

enum SaveDataPart {
    Metadata = 1,     // metadata.json; always read
    Images = 2,       // overview and sector pictures
    SpectralData = 4, // spectrum files and the CCD raw frame
};
Q_DECLARE_FLAGS(SaveDataParts, SaveDataPart)
Q_DECLARE_OPERATORS_FOR_FLAGS(SaveDataParts)

constexpr SaveDataParts AllSaveDataParts = SaveDataParts(Metadata | Images | SpectralData);
// metadata.json, and which measuring points' folders are missing, nothing read from them: for
// lists of thousands of measurements.
constexpr SaveDataParts ListMetadata = SaveDataParts();

struct ExposureData
{
    qint32 exp_time = 0;
    qint32 gain = 0;
    double cam_temp = 0.0;
    QString ND_filter_used;
    QString exposure_objective;
    double objective_focal_length_camera = 0.0;
    double laser_wavelength = 0.0;
    double slitwidth = 0.0;

    bool operator==(const ExposureData &o) const;
};

struct IdentificationData
{
    QString mineral_suggested_auto;
    QString mineral_suggested_manual;
    QString mineral_final_identification;
    double auto_korrelation = 0.0;
    double manual_korrelation = 0.0;
    QString raman_library_ident_no;
    // Stored under the same key as the exposure's focal length, but an independent number.
    double objective_focal_length_camera = 0.0;
    QImage searchResultImage;
    QImage searchResultTableImage;
    // How far the automatic suggestion can be trusted ("confident", "likely", "uncertain"), and
    // its answer at the level of the structural group ("Garnet: Almandine / Pyrope") with that
    // answer's own confidence; empty in files written before they were kept, or without a group.
    QString auto_confidence;
    QString auto_group;
    QString auto_group_confidence;
    // How the analysis that found it was set up; written and read back by the analysis. Empty for
    // points stored before it was kept.
    QJsonObject analysis_settings;

    bool operator==(const IdentificationData &o) const;
};

// One measuring point (folder Location<n>).
struct SaveDataSector
{
    QImage withLaserImage;
    QImage withoutLaserImage;
    QImage ccdRawImage;
    QImage rawSpectrumImage;
    QString exposure_objective;
    QString image_width;
    ExposureData exposureData;
    RamanData<Wavenumbers> rawSpectrum;
    RamanData<Wavenumbers> processedSpectrum;
    QVector<quint16> ccdRaw;
    CalibrationLines calibrationLines;
    IdentificationData identificationData;
    // Where its files are: the Location folder it was loaded from or saved to (current format
    // only), and whether that folder was missing. Not part of the comparison.
    QString storedFolder;
    bool missingOnDisk = false;

    // Empty sectors are never written and are dropped when another one is added.
    bool isEmpty() const;
    bool operator==(const SaveDataSector &o) const;
};

// The top level of metadata.json.
struct SaveDataMetadata
{
    QString owner;
    QString collection_name;
    QString collection_id;
    QString unique_ident;
    QString location;
    QString mineral_comment;
    qint32 save_data_version = CurrentSaveDataVersion;
    QDate found_date;
    bool found_date_year_only = false;
    bool nodate = false;
    QDateTime saved_date;
    qint32 created_as_version = CurrentSaveDataVersion;
    QDateTime created_date;
    QImage overviewImage;
    qint32 rating = -1;

    bool operator==(const SaveDataMetadata &o) const;
};
