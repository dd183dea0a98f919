#pragma once

#include "spectrum/spectrumfile.h"
#include "storage/savedata.h"
#include "storage/savedatajson.h"
#include "testfiles.h"

// Measurements with every field set, and helpers to compare folders, for tests that write and
// read them back.
namespace Fixture {

inline QImage picture(int width, int height, int shade)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(shade, 255 - shade, 80));
    return image;
}

// Spectra and calibration lines are stored with 6 significant digits; these values fit.
inline SaveDataSector sector(int seed)
{
    QRandomGenerator random{quint32(seed)};
    const auto sixDigits = [](double v) { return QString::number(v, 'g', 6).toDouble(); };
    SaveDataSector s;
    s.withLaserImage = picture(64, 48, seed);
    s.withoutLaserImage = picture(64, 40, seed);
    s.ccdRawImage = picture(134, 40, seed);
    s.rawSpectrumImage = picture(80, 40, seed);
    s.exposure_objective = S("50x/0.75 #%1").arg(seed);
    s.image_width = S("%1 µm").arg(100 + seed);
    s.exposureData = {2 + seed, 3,     -60.25, S("ND 0.%1").arg(seed), S("20x #%1").arg(seed),
                      200.5,    532.1, 50.25};
    for (int i = 0; i < 300; ++i) {
        s.rawSpectrum.x.append(sixDigits(100.0 + 1.37 * i + random.generateDouble()));
        s.rawSpectrum.y.append(sixDigits(1e3 * random.generateDouble() + 1e-5));
    }
    s.processedSpectrum = {s.rawSpectrum.x.mid(10, 200), s.rawSpectrum.y.mid(10, 200)};
    for (int i = 0; i < 1340 * 3; ++i)
        s.ccdRaw.append(quint16(random.bounded(65536)));
    s.calibrationLines = {{62.5, 681.25, 1015.5}, {540.056, 585.249, 609.616}};
    const bool grouped = seed % 2; // and without, as files from before group answers are
    s.identificationData = {S("Quartz"),
                            S("Calcite"),
                            S("Quarz %1").arg(seed),
                            8.25,
                            7.5,
                            S("R0400%1").arg(seed),
                            12.5,
                            picture(60, 30, seed),
                            picture(20, 40, seed),
                            grouped ? S("uncertain") : QString(),
                            grouped ? S("Garnet: Almandine / Pyrope") : QString(),
                            grouped ? S("confident") : QString(),
                            QJsonObject{{S("smoothing_width"), 5 + 2 * seed}}};
    return s;
}

inline SaveData measurement(int sectors)
{
    SaveData data;
    SaveDataMetadata m = data.metadata();
    m.owner = S("Mineralogische Sammlung");
    m.collection_name = S("Alpen");
    m.collection_id = S("17");
    m.location = S("Gotthard, Schweiz");
    m.mineral_comment = S("Klarer Kristall\nmit Einschlüssen");
    m.found_date = QDate(1987, 6, 1);
    m.created_as_version = 9;
    m.created_date = QDateTime(QDate(2019, 3, 4), QTime(10, 11, 12));
    m.overviewImage = picture(80, 60, 10);
    m.rating = 4;
    data.setMetadata(m);
    for (int k = 1; k <= sectors; ++k) {
        data.addSector();
        data.replaceActiveSector(sector(k));
    }
    return data;
}

// The metadata with another owner: an edit of a measurement.
inline SaveDataMetadata ownedBy(SaveDataMetadata metadata, const QString &owner)
{
    metadata.owner = owner;
    return metadata;
}

// One measuring point as the instrument wrote it in format version 5, with label AB.
inline void writeVersion5Folder(const QString &folder)
{
    const QDir dir(folder + S("/Location1"));
    QDir().mkpath(dir.path());
    const SaveDataSector s = sector(5);
    const QJsonObject json{{S("save_data_version"), 5},
                           {S("owner_ident_label"), S("AB")},
                           {S("owner_ident_no"), S("12")},
                           {S("saved_date"), S("2017-09-05T14:30:00")},
                           {S("sectors"), QJsonArray{SaveDataJson::sectorToJson(s)}}};
    TestFiles::writeJson(folder + S("/metadata.json"), json);
    s.withLaserImage.save(dir.filePath(S("AB_with_laser.jpg")));
    writeSpectrumText(dir.filePath(S("AB.csv")), s.processedSpectrum);
    writeSpectrumText(dir.filePath(S("AB_raw.csv")), s.rawSpectrum);
    TestFiles::write(dir.filePath(S("AB_ccd_raw.raw")), "\x01\x02\x03\x04");
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
