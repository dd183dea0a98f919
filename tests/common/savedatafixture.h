#pragma once

#include "spectrum/spectrumfile.h"
#include "storage/savedata.h"
#include "storage/savedatajson.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRandomGenerator>

// Measurements with every field set, for tests that write and read them back.
namespace Fixture {

inline QImage picture(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The text form keeps 6 significant digits; values that already fit come back exactly.
inline double sixDigits(double value)
{
    return QString::number(value, 'g', 6).toDouble();
}

inline SaveDataSector sector(int seed)
{
    QRandomGenerator random{quint32(seed)};
    SaveDataSector s;
    s.withLaserImage = picture(64, 48, qRgb(200, 80, seed));
    s.withoutLaserImage = picture(64, 48, qRgb(90, 80, seed));
    s.ccdRawImage = picture(134, 40, qRgb(seed, seed, seed));
    s.rawSpectrumImage = picture(80, 40, qRgb(255, 255, seed));
    s.exposure_objective = QStringLiteral("50x/0.75 #%1").arg(seed);
    s.image_width = QStringLiteral("%1 µm").arg(100 + seed);
    s.exposureData = {2 + seed,
                      3,
                      -60.25,
                      QStringLiteral("ND 0.%1").arg(seed),
                      QStringLiteral("20x #%1").arg(seed),
                      200.5,
                      532.1,
                      50.25};
    for (int i = 0; i < 300; ++i) {
        s.rawSpectrum.x.append(sixDigits(100.0 + 1.37 * i + random.generateDouble()));
        s.rawSpectrum.y.append(sixDigits(1e3 * random.generateDouble() + 1e-5));
    }
    s.processedSpectrum = {s.rawSpectrum.x.mid(10, 200), s.rawSpectrum.y.mid(10, 200)};
    for (int i = 0; i < 1340 * 3; ++i)
        s.ccdRaw.append(quint16(random.bounded(65536)));
    s.calibrationLines = {{62.5, 681.25, 1015.5}, {540.056, 585.249, 609.616}};
    IdentificationData &id = s.identificationData;
    id.mineral_suggested_auto = QStringLiteral("Quartz");
    id.mineral_suggested_manual = QStringLiteral("Calcite");
    id.mineral_final_identification = QStringLiteral("Quarz %1").arg(seed);
    id.auto_korrelation = 8.25;
    id.manual_korrelation = 7.5;
    id.raman_library_ident_no = QStringLiteral("R0400%1").arg(seed);
    id.objective_focal_length_camera = 12.5;
    id.searchResultImage = picture(60, 30, qRgb(0, seed, 0));
    id.searchResultTableImage = picture(20, 40, qRgb(0, 0, seed));
    return s;
}

inline SaveData measurement(int sectors)
{
    SaveData data;
    SaveDataMetadata m = data.metadata();
    m.owner = QStringLiteral("Mineralogische Sammlung");
    m.collection_name = QStringLiteral("Alpen");
    m.collection_id = QStringLiteral("17");
    m.location = QStringLiteral("Gotthard, Schweiz");
    m.mineral_comment = QStringLiteral("Klarer Kristall\nmit Einschlüssen");
    m.found_date = QDate(1987, 6, 1);
    m.created_as_version = 9;
    m.created_date = QDateTime(QDate(2019, 3, 4), QTime(10, 11, 12));
    m.overviewImage = picture(80, 60, qRgb(10, 20, 30));
    m.rating = 4;
    data.setMetadata(m);
    for (int k = 1; k <= sectors; ++k) {
        data.addSector();
        data.replaceActiveSector(sector(k));
    }
    return data;
}

// A folder (with one measuring point) as the instrument wrote it in format version 5, with label
// AB.
inline void writeVersion5Folder(const QString &folder)
{
    QDir().mkpath(folder + QStringLiteral("/Location1"));
    const SaveDataSector s = sector(5);
    QJsonObject json{{QStringLiteral("save_data_version"), 5},
                     {QStringLiteral("owner_ident_label"), QStringLiteral("AB")},
                     {QStringLiteral("owner_ident_no"), QStringLiteral("12")},
                     {QStringLiteral("saved_date"), QStringLiteral("2017-09-05T14:30:00")},
                     {QStringLiteral("sectors"), QJsonArray{SaveDataJson::sectorToJson(s)}}};
    QFile file(folder + QStringLiteral("/metadata.json"));
    file.open(QIODevice::WriteOnly);
    file.write(QJsonDocument(json).toJson());
    file.close();
    const QDir dir(folder + QStringLiteral("/Location1"));
    s.withLaserImage.save(dir.filePath(QStringLiteral("AB_with_laser.jpg")));
    writeSpectrumText(dir.filePath(QStringLiteral("AB.csv")), s.processedSpectrum);
    writeSpectrumText(dir.filePath(QStringLiteral("AB_raw.csv")), s.rawSpectrum);
    QFile raw(dir.filePath(QStringLiteral("AB_ccd_raw.raw")));
    raw.open(QIODevice::WriteOnly);
    raw.write("\x01\x02\x03\x04", 4);
}

// Relative path -> content of every file below `root`.
inline QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        files.insert(it.filePath().mid(root.size()), file.readAll());
    }
    return files;
}

} // namespace Fixture
