#pragma once

#include "spectrum/ramandata.h"

#include <QString>

// The first 8 hexadecimal digits of the SHA-256 digest of the intensities (little-endian doubles).
QString spectrumIdentifier(const QVector<double> &y);

// The values that name an exported spectrum's file.
struct LibraryExportRecord
{
    QString name;
    QString laserWavelength;
    QString orientation; // "oriented" or "unoriented"
    QString angle;       // "0", "45" or "90"
    QString dataKind = QStringLiteral("processed");
    QString identifier;
};

// The record for the dialog's choices; orientation index 0 undefined, 1 to 3 0°, 45°, 90°.
LibraryExportRecord libraryExportRecord(const QString &name, int laserWavelength,
                                        int orientationIndex, const QString &identifier);
// "name__RXXXXXX__Raman__532__0__unoriented__Raman_Data_Processed__identifier.txt"
QString libraryFileName(const LibraryExportRecord &record);
// One or more letters, digits or underscores.
bool isValidEntryName(const QString &name);
// "^" and "_" replaced by empty superscript and subscript tags.
QString chemistryMarkup(const QString &typed);

struct LibraryExportOptions
{
    QString folder;
    LibraryExportRecord record;
    QString chemistry;                    // empty: chemistry.csv is not touched
    bool chemistryForAllWithName = false; // else for this one spectrum
    bool rebuildCache = true;
};

// Why a folder cannot take an export (an English log text), or empty when it can.
QString libraryFolderProblem(const QString &folder);
// Writes the spectrum file, appends the chemistry line and rebuilds the folder's cache; the
// loaded library reloads itself when it sees the new cache. Failures are logged; false when
// nothing was written.
bool exportToLibrary(const RamanData<Wavenumbers> &spectrum, const LibraryExportOptions &options);
