#include "demowriter.h"

#include "report/summarypage.h"
#include "spectrum/calibration.h"
#include "spectrum/calibrationfile.h"
#include "spectrum/calibrationlines.h"
#include "spectrum/ccdspectrum.h"
#include "spectrum/interpolation.h"
#include "spectrum/processing.h"
#include "spectrum/spectrumfile.h"
#include "storage/savedata.h"
#include "storage/savedatafiles.h"
#include "storage/savedatajson.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <QTextStream>
#include <QUuid>

#include <cmath>

namespace {

constexpr double laserNm = 532.0;
constexpr int ccdWidth = 1340;
constexpr int ccdHeight = 64;
// Pixel-to-wavelength calibration of the demo spectrometer.
const CalibrationParameters demoCalibration{-1.5e-6, 0.07408, 535.5};

LaserWavelengthSettings demoLaser()
{
    LaserWavelengthSettings laser;
    laser.nominalWavelength = laserNm;
    return laser;
}

double fluorescence(double shift, double strength)
{
    return strength * (2200.0 * std::exp(-std::pow((shift - 1900.0) / 1700.0, 2)) + 150.0);
}

// The mean of the spectrum over [lo, hi], zero outside its range; a detector column integrates
// over its width.
double meanOver(const RamanData<Wavenumbers> &spectrum, double lo, double hi)
{
    if (spectrum.isEmpty() || hi < spectrum.x.first() || lo > spectrum.x.last())
        return 0.0;
    const auto begin = std::lower_bound(spectrum.x.cbegin(), spectrum.x.cend(), lo);
    const auto end = std::upper_bound(begin, spectrum.x.cend(), hi);
    if (begin == end)
        return valueAt(spectrum, (lo + hi) / 2);
    double sum = 0.0;
    for (auto it = begin; it != end; ++it)
        sum += spectrum.y.at(int(it - spectrum.x.cbegin()));
    return sum / double(end - begin);
}

QColor mineralColour(const QString &name)
{
    const uint hash = qHash(name);
    return QColor::fromHsv(int(hash % 360), 60 + int(hash / 360 % 120), 170);
}

QImage samplePhoto(const QString &mineral, bool withLaser, QRandomGenerator &random)
{
    QImage image(640, 480, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 640, 480);
    background.setColorAt(0, QColor(60, 60, 66));
    background.setColorAt(1, QColor(25, 25, 30));
    painter.fillRect(image.rect(), background);
    const QColor colour = mineralColour(mineral);
    for (int crystal = 0; crystal < 5; ++crystal) {
        const QPointF centre(120 + random.bounded(400), 100 + random.bounded(280));
        const double size = 40 + random.bounded(90);
        QPainterPath path;
        const int corners = 5 + random.bounded(3);
        for (int k = 0; k < corners; ++k) {
            const double angle = 2 * M_PI * k / corners + random.bounded(0.4);
            const QPointF p = centre + QPointF(std::cos(angle), std::sin(angle)) * size;
            k == 0 ? path.moveTo(p) : path.lineTo(p);
        }
        path.closeSubpath();
        painter.setPen(QPen(colour.lighter(150), 2));
        painter.setBrush(colour.darker(100 + random.bounded(60)));
        painter.drawPath(path);
    }
    if (withLaser) {
        QRadialGradient spot(QPointF(320, 240), 18);
        spot.setColorAt(0, QColor(255, 255, 240));
        spot.setColorAt(0.3, QColor(120, 255, 90));
        spot.setColorAt(1, QColor(40, 255, 40, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(spot);
        painter.drawEllipse(QPointF(320, 240), 18, 18);
    }
    return image;
}

QImage spectrumPicture(const RamanData<Wavenumbers> &spectrum)
{
    QImage image(800, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (spectrum.size() < 2)
        return image;
    const auto [minY, maxY] = std::minmax_element(spectrum.y.cbegin(), spectrum.y.cend());
    const double x0 = spectrum.x.first();
    const double xSpan = spectrum.x.last() - x0;
    const double ySpan = std::max(*maxY - *minY, 1e-9);
    QPolygonF line;
    for (int i = 0; i < spectrum.size(); ++i) {
        line << QPointF(20 + 760 * (spectrum.x[i] - x0) / xSpan,
                        380 - 360 * (spectrum.y[i] - *minY) / ySpan);
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(30, 30, 160), 1.5));
    painter.drawPolyline(line);
    return image;
}

QImage ccdPicture(const QVector<quint16> &frame)
{
    QImage image(ccdWidth, ccdHeight, QImage::Format_Grayscale8);
    const quint16 maximum = std::max<quint16>(1, *std::max_element(frame.cbegin(), frame.cend()));
    for (int row = 0; row < ccdHeight; ++row) {
        uchar *line = image.scanLine(row);
        for (int col = 0; col < ccdWidth; ++col)
            line[col] = uchar(255.0 * std::sqrt(double(frame[row * ccdWidth + col]) / maximum));
    }
    return image;
}

CalibrationLines neonCalibrationLines()
{
    // Neon emission lines within the detector's range, and the pixel at which each falls.
    const double neonNm[] = {540.056, 585.249, 588.190, 594.483, 609.616, 614.306, 626.650};
    CalibrationLines lines;
    const double a = demoCalibration.a, b = demoCalibration.b, c = demoCalibration.c;
    for (double nm : neonNm) {
        const double pixel = (-b + std::sqrt(b * b - 4 * a * (c - nm))) / (2 * a);
        const double otherRoot = (-b - std::sqrt(b * b - 4 * a * (c - nm))) / (2 * a);
        lines.wavelengths.append(nm);
        lines.pixels.append(std::round((pixel >= 0 && pixel < ccdWidth ? pixel : otherRoot) * 100)
                            / 100);
    }
    return lines;
}

// The light along the slit: even over most rows, falling off at the edges, so that the hot-pixel
// filter of the column sum keeps the signal.
double slitProfile(int row)
{
    return std::exp(-std::pow(std::abs(row - (ccdHeight - 1) / 2.0) / 30.0, 6));
}

// The Raman shift each detector column sees.
QVector<double> columnShifts()
{
    RamanData<RawPixels> columns;
    for (int i = 0; i < ccdWidth; ++i) {
        columns.x.append(i);
        columns.y.append(0.0);
    }
    return toRamanShift(calibrated(columns, demoCalibration), demoLaser()).x;
}

QDateTime dateTimeOf(const QJsonObject &object, const char *key)
{
    return QDateTime::fromString(object.value(QLatin1String(key)).toString(), Qt::ISODate);
}

QString textOf(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toString();
}

// Gives a file of a current-format folder the name an older version used, or removes it when that
// version had no such file. Pictures are re-encoded when the format changes with the name.
bool renameForVersion(const QDir &dir, const QString &current, const QString &old)
{
    const QString from = dir.filePath(current);
    if (old == current || !QFileInfo::exists(from))
        return true;
    if (old.isEmpty())
        return QFile::remove(from);
    const QString to = dir.filePath(old);
    if (QFileInfo(current).suffix() == QFileInfo(old).suffix())
        return QFile::rename(from, to);
    return QImage(from).save(to, nullptr, 95) && QFile::remove(from);
}

bool writeJson(const QString &path, const QJsonObject &json)
{
    QSaveFile file(path);
    const QByteArray bytes = QJsonDocument(json).toJson(QJsonDocument::Indented);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

DemoWriter::DemoWriter(const QString &dataDir, quint32 seed)
    : m_dataDir(dataDir)
    , m_random(seed)
{}

bool DemoWriter::readData(QString *error)
{
    QFile table(QStringLiteral(":/demo/measurements.json"));
    if (!table.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("the demo table is missing");
        return false;
    }
    m_table = QJsonDocument::fromJson(table.readAll()).object();

    QFile index(m_dataDir + QStringLiteral("/INDEX.csv"));
    if (!index.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read %1").arg(QDir::toNativeSeparators(index.fileName()));
        return false;
    }
    QTextStream in(&index);
    in.readLine(); // mineral,role,file,rruff_id,laser_nm
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split(QLatin1Char(','));
        if (fields.size() < 4)
            continue;
        if (fields.at(1) == QLatin1String("library"))
            m_libraryIds.insert(fields.at(0), fields.at(3));
        else if (fields.at(1) == QLatin1String("query_other_sample"))
            m_querySpectra.insert(fields.at(0),
                                  m_dataDir + QStringLiteral("/queries/") + fields.at(2));
    }
    const QJsonObject minerals = m_table.value(QLatin1String("minerals")).toObject();
    for (auto it = minerals.begin(); it != minerals.end(); ++it) {
        if (!m_libraryIds.contains(it.key())
            || !QFileInfo(m_querySpectra.value(it.key())).isFile()) {
            *error = QStringLiteral("%1 has no reference and sample spectrum of %2")
                         .arg(QDir::toNativeSeparators(m_dataDir), it.key());
            return false;
        }
    }
    return true;
}

QJsonArray DemoWriter::measurements() const
{
    return m_table.value(QLatin1String("measurements")).toArray();
}

QString DemoWriter::uuid()
{
    const quint64 high = m_random.generate64();
    const quint64 low = m_random.generate64();
    QUuid id(uint(high >> 32), ushort(high >> 16), ushort((high & 0x0fff) | 0x4000),
             uchar(((low >> 56) & 0x3f) | 0x80), uchar(low >> 48), uchar(low >> 40),
             uchar(low >> 32), uchar(low >> 24), uchar(low >> 16), uchar(low >> 8), uchar(low));
    return id.toString(QUuid::WithoutBraces);
}

double DemoWriter::gaussianNoise()
{
    // Box-Muller
    const double u1 = std::max(m_random.generateDouble(), 1e-12);
    const double u2 = m_random.generateDouble();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2 * M_PI * u2);
}

SaveDataSector DemoWriter::measuredSector(const QString &mineral, const QString &identification,
                                          double fluorescenceStrength)
{
    SaveDataSector sector;
    sector.exposure_objective = QStringLiteral("50x/0.75");
    sector.image_width = QStringLiteral("120 µm");
    sector.exposureData.exp_time = 500 + 250 * int(m_random.bounded(8));
    sector.exposureData.gain = int(m_random.bounded(4));
    sector.exposureData.cam_temp = -60.0 + m_random.bounded(2.0);
    sector.exposureData.ND_filter_used = QStringLiteral("ND 0.3");
    sector.exposureData.exposure_objective = sector.exposure_objective;
    sector.exposureData.objective_focal_length_camera = 200.0;
    sector.exposureData.slitwidth = 50.0;
    sector.exposureData.laser_wavelength = laserNm;

    // The sample's spectrum as the detector sees it: scaled, on a fluorescence background, with
    // shot and read noise along the slit and two hot pixels.
    const RamanData<Wavenumbers> sample
        = loadSpectrumFromCSV(m_querySpectra.value(mineral)).normalizedToMaximum();
    static const QVector<double> shifts = columnShifts();
    const double scale = 3000.0 + m_random.bounded(4000.0);
    QVector<quint16> frame(ccdWidth * ccdHeight);
    for (int col = 0; col < ccdWidth; ++col) {
        const double lo = (shifts.at(std::max(col - 1, 0)) + shifts.at(col)) / 2;
        const double hi = (shifts.at(col) + shifts.at(std::min(col + 1, ccdWidth - 1))) / 2;
        const double expected = fluorescence(shifts.at(col), fluorescenceStrength)
                                + scale * std::max(0.0, meanOver(sample, lo, hi));
        for (int row = 0; row < ccdHeight; ++row) {
            const double counts = expected * slitProfile(row) / 50.0;
            const double value
                = 200.0 + counts + std::sqrt(counts) * gaussianNoise() + 4.0 * gaussianNoise();
            frame[row * ccdWidth + col] = quint16(std::clamp(value, 0.0, 65535.0));
        }
    }
    frame[10 * ccdWidth + 400] = 65535;
    frame[40 * ccdWidth + 901] = 65535;

    // From here on, what the measuring side does with a frame.
    sector.ccdRaw = frame;
    sector.calibrationLines = neonCalibrationLines();
    sector.rawSpectrum
        = toRamanShift(calibrated(computeSpectrumFromCCD(QSize(ccdWidth, ccdHeight), frame),
                                  calibrationFromLines(sector.calibrationLines)),
                       demoLaser());
    ProcessingParameters processing = analysisStartParameters();
    processing.steps |= Smooth | Normalize;
    sector.processedSpectrum = processed(sector.rawSpectrum.resampled(1.25), processing);

    sector.withLaserImage = samplePhoto(mineral, true, m_random);
    sector.withoutLaserImage = samplePhoto(mineral, false, m_random);
    sector.rawSpectrumImage = spectrumPicture(sector.rawSpectrum);
    sector.ccdRawImage = ccdPicture(frame);

    IdentificationData &id = sector.identificationData;
    id.objective_focal_length_camera = 200.0;
    if (identification != QLatin1String("none")) {
        id.mineral_suggested_auto = mineral;
        id.auto_korrelation = 7.5 + m_random.bounded(2.4);
        id.raman_library_ident_no = m_libraryIds.value(mineral);
        id.searchResultImage = spectrumPicture(sector.processedSpectrum);
    }
    if (identification == QLatin1String("final")) {
        id.mineral_suggested_manual = mineral;
        id.manual_korrelation = id.auto_korrelation;
        id.mineral_final_identification
            = m_table.value(QLatin1String("minerals")).toObject().value(mineral).toString();
    }
    return sector;
}

bool DemoWriter::writeMeasurement(const QString &root, const QJsonObject &m)
{
    const int version = m.value(QLatin1String("version")).toInt();
    const QString label = textOf(m, "label");
    const QString number = textOf(m, "number");
    SaveDataMetadata meta;
    meta.owner = textOf(m, "owner");
    meta.collection_name = textOf(m, "collection_name");
    meta.collection_id = textOf(m, "collection_id");
    meta.unique_ident = uuid();
    meta.location = textOf(m, "location");
    meta.mineral_comment = textOf(m, "comment");
    meta.save_data_version = version;
    meta.found_date = QDate::fromString(textOf(m, "found_date"), Qt::ISODate);
    meta.found_date_year_only = m.value(QLatin1String("year_only")).toBool();
    meta.nodate = m.value(QLatin1String("no_date")).toBool();
    meta.saved_date = dateTimeOf(m, "saved");
    meta.created_as_version = version;
    if (!m.value(QLatin1String("no_created_date")).toBool())
        meta.created_date = meta.saved_date.addDays(-3);
    meta.rating = m.value(QLatin1String("rating")).toInt(-1);

    const QJsonArray points = m.value(QLatin1String("points")).toArray();
    meta.overviewImage
        = samplePhoto(textOf(points.at(0).toObject(), "mineral"), false, m_random).scaled(800, 600);

    SaveData data;
    data.setMetadata(meta);
    for (const QJsonValue &value : points) {
        const QJsonObject point = value.toObject();
        const QString mineral = textOf(point, "mineral");
        data.addSector();
        data.replaceActiveSector(
            measuredSector(mineral, textOf(point, "identification"),
                           point.value(QLatin1String("fluorescence")).toDouble()));
    }

    // An empty name, or one ending in a slash, stands for the default folder name.
    QString relativePath = textOf(m, "path");
    if (relativePath.isEmpty() || relativePath.endsWith(QLatin1Char('/')))
        relativePath += data.defaultFolderName();
    const QFileInfo target(QDir(root).filePath(relativePath));
    bool ok = data.save(target.path(), target.fileName(), summaryPagesPdf);

    // What the measuring side wrote in the days of `version`.
    const QDir folder(target.filePath());
    const SaveDataFileNames now = SaveDataFileNames::forVersion(CurrentSaveDataVersion);
    const SaveDataFileNames then = SaveDataFileNames::forVersion(version, label);
    ok = ok && renameForVersion(folder, now.overviewImage, then.overviewImage);
    for (int n = 1; n <= data.sectorCount(); ++n) {
        const QDir dir(folder.filePath(SaveDataFiles::locationFolderName(n)));
        ok = ok && renameForVersion(dir, now.withLaserImage, then.withLaserImage)
             && renameForVersion(dir, now.withoutLaserImage, then.withoutLaserImage)
             && renameForVersion(dir, now.processedSpectrum, then.processedSpectrum)
             && renameForVersion(dir, now.rawSpectrum, then.rawSpectrum)
             && renameForVersion(dir, now.ccdRaw, then.ccdRaw)
             && renameForVersion(dir, now.calibrationLines, then.calibrationLines);
    }
    ok = ok
         && writeJson(folder.filePath(SaveDataFiles::metadataFileName()),
                      SaveDataJson::metadataToJson(meta,
                                                   SaveDataJson::sectorsToJson(data.sectors()),
                                                   version, label, number));
    if (m.value(QLatin1String("drop_last_location_folder")).toBool())
        ok = ok
             && QDir(folder.filePath(SaveDataFiles::locationFolderName(data.sectorCount())))
                    .removeRecursively();
    return ok;
}
