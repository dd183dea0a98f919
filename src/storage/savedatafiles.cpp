#include "storage/savedatafiles.h"

SaveDataFileNames SaveDataFileNames::forVersion(int version, const QString &label)
{
    SaveDataFileNames names;
    const QString prefix = version < 8 ? label + QLatin1Char('_') : QString();
    const QString pictureSuffix = version < 3 ? QStringLiteral(".png") : QStringLiteral(".jpg");
    names.overviewImage = QLatin1String("Overview") + pictureSuffix;
    names.withLaserImage = prefix + QLatin1String("with_laser") + pictureSuffix;
    names.withoutLaserImage = QLatin1String("without_laser") + pictureSuffix;
    names.rawSpectrumImage = QStringLiteral("raw_spectrum.png");
    names.ccdRawImage = QStringLiteral("ccd_raw.png");
    names.searchResultImage = QStringLiteral("searchresult.png");
    names.searchResultTableImage = QStringLiteral("searchresult table.png");
    names.summary = QStringLiteral("summary.pdf");
    if (version < 8) {
        names.processedSpectrum = label + QLatin1String(".csv");
        if (version >= 3)
            names.rawSpectrum = prefix + QLatin1String("raw.csv");
        if (version >= 4)
            names.ccdRaw = prefix + QLatin1String("ccd_raw.raw");
    } else {
        names.processedSpectrum = QStringLiteral("data.csv");
        names.rawSpectrum = QStringLiteral("data_raw.csv");
        names.ccdRaw = QStringLiteral("data_ccd_raw.raw");
    }
    if (version >= 7)
        names.calibrationLines = QStringLiteral("calibration_lines.txt");
    return names;
}
