#pragma once

#include <QString>

// The file names of a measurement folder, which changed with the format version.
// An empty name means the item is not stored in that version.
struct SaveDataFileNames
{
    QString overviewImage;
    QString withLaserImage;
    QString withoutLaserImage;
    QString rawSpectrumImage;
    QString ccdRawImage;
    QString searchResultImage;
    QString searchResultTableImage;
    QString processedSpectrum;
    QString rawSpectrum;
    QString ccdRaw;
    QString calibrationLines;
    QString summary;

    // `label` is the owner_ident_label of folders below version 8.
    static SaveDataFileNames forVersion(int version, const QString &label = QString());
};

namespace SaveDataFiles {
inline QString metadataFileName()
{
    return QStringLiteral("metadata.json");
}
inline QString locationFolderName(int number)
{
    return QStringLiteral("Location%1").arg(number);
}
} // namespace SaveDataFiles
