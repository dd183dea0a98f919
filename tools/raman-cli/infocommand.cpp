#include "infocommand.h"

#include "clicommand.h"

#include "storage/savedatajson.h"

#include <QCommandLineParser>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonValue imageSize(const QImage &image)
{
    if (image.isNull())
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("width"), image.width()},
                       {QStringLiteral("height"), image.height()}};
}

QJsonObject sectorJson(const SaveDataSector &sector)
{
    QJsonObject json = SaveDataJson::sectorToJson(sector);
    json.insert(QStringLiteral("images"),
                QJsonObject{
                    {QStringLiteral("with_laser"), imageSize(sector.withLaserImage)},
                    {QStringLiteral("without_laser"), imageSize(sector.withoutLaserImage)},
                    {QStringLiteral("raw_spectrum"), imageSize(sector.rawSpectrumImage)},
                    {QStringLiteral("ccd_raw"), imageSize(sector.ccdRawImage)},
                    {QStringLiteral("searchresult"),
                     imageSize(sector.identificationData.searchResultImage)},
                    {QStringLiteral("searchresult_table"),
                     imageSize(sector.identificationData.searchResultTableImage)},
                });
    json.insert(QStringLiteral("raw_spectrum_points"), sector.rawSpectrum.size());
    json.insert(QStringLiteral("processed_spectrum_points"), sector.processedSpectrum.size());
    json.insert(QStringLiteral("ccd_raw_values"), sector.ccdRaw.size());
    json.insert(QStringLiteral("calibration_lines"), sector.calibrationLines.size());
    return json;
}

bool partsFromName(const QString &name, SaveDataParts &parts)
{
    if (name == QLatin1String("metadata"))
        parts = Metadata;
    else if (name == QLatin1String("images"))
        parts = Metadata | Images;
    else if (name == QLatin1String("spectra"))
        parts = Metadata | SpectralData;
    else if (name == QLatin1String("all"))
        parts = AllSaveDataParts;
    else
        return false;
    return true;
}

} // namespace

QJsonObject saveDataToInfoJson(const SaveData &data)
{
    const SaveDataMetadata &m = data.metadata();
    QJsonArray sectors;
    for (const SaveDataSector &sector : data.sectors())
        sectors.append(sectorJson(sector));
    QJsonObject json = SaveDataJson::metadataToJson(m, sectors, SaveDataJson::DateStyle::Report);
    json.insert(QStringLiteral("overview_image"), imageSize(m.overviewImage));
    json.insert(QStringLiteral("folderPath"), data.folderPath());
    json.insert(QStringLiteral("activeSectorIndex"), data.activeSectorIndex());
    json.insert(QStringLiteral("nonEmptySectorCount"), data.nonEmptySectorCount());
    return json;
}

int runInfoCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the measurement folder FOLDER as one JSON object."));
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("measurement folder"));
    const QCommandLineOption partsOption(
        QStringLiteral("parts"),
        QStringLiteral("what to load: metadata, images, spectra or all (default)"),
        QStringLiteral("PARTS"), QStringLiteral("all"));
    parser.addOption(partsOption);
    if (const auto done = parseCommandLine(parser, "info", arguments, 1, 1, "FOLDER", out, err))
        return *done;
    SaveDataParts parts;
    if (!partsFromName(parser.value(partsOption), parts)) {
        err << "raman-cli info: unknown --parts value '" << parser.value(partsOption)
            << "' (metadata, images, spectra or all)\n";
        return 2;
    }
    const QString folder = parser.positionalArguments().constFirst();
    SaveData data;
    if (!data.load(folder, parts)) {
        err << "raman-cli info: " << QDir::toNativeSeparators(folder)
            << " is not a measurement folder (no readable metadata.json)\n";
        return 1;
    }
    out << QJsonDocument(saveDataToInfoJson(data)).toJson(QJsonDocument::Indented);
    return 0;
}
