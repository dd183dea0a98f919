#include "demowriter.h"

#include "spectrum/calibration.h"
#include "spectrum/calibrationlines.h"
#include "spectrum/spectrumfile.h"
#include "storage/savedatafiles.h"
#include "storage/savedatajson.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QUuid>
#include <QtEndian>

#include <cmath>

namespace {

constexpr double laserNm = 532.0;
constexpr int ccdWidth = 1340;
constexpr int ccdHeight = 64;
// Pixel-to-wavelength calibration of the demo spectrometer.
const CalibrationParameters demoCalibration{-1.5e-6, 0.07408, 535.5};

double ramanShift(double nm)
{
    return 1e7 / laserNm - 1e7 / nm;
}

double lorentzian(double x, const RamanBand &band)
{
    const double d = (x - band.position) / band.width;
    return band.amplitude / (1.0 + d * d);
}

double bandSignal(const DemoMineral &mineral, double shift)
{
    double sum = 0.0;
    for (const RamanBand &band : mineral.bands)
        sum += lorentzian(shift, band);
    return sum;
}

double fluorescence(double shift, double strength)
{
    return strength * (2200.0 * std::exp(-std::pow((shift - 1900.0) / 1700.0, 2)) + 150.0);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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

} // namespace

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

bool DemoWriter::writeMeasurement(const QString &root, const DemoMeasurement &m)
{
    const QString ident = uuid();
    QString relativePath = m.relativePath;
    if (relativePath.isEmpty() || relativePath.endsWith(QLatin1Char('/'))) {
        relativePath
            += (m.collectionName.isEmpty() ? QStringLiteral("unspecified") : m.collectionName)
               + QLatin1Char('-')
               + (m.collectionId.isEmpty() ? QStringLiteral("unspecified") : m.collectionId)
               + QLatin1Char('-') + ident.left(13);
    }
    const QString folder = QDir(root).filePath(relativePath);
    if (!QDir().mkpath(folder))
        return false;

    const int v = m.version;
    QJsonObject json{
        {QStringLiteral("save_data_version"), v},
        {QStringLiteral("owner"), m.owner},
        {QStringLiteral("unique_ident"), ident},
        {QStringLiteral("location"), m.location},
        {QStringLiteral("found_date"),
         m.foundDate.isValid() ? m.foundDate.toString(Qt::ISODate) : QString()},
        {QStringLiteral("found_date_year_only"), m.yearOnly},
        {QStringLiteral("nodate"), m.noDate},
        {QStringLiteral("saved_date"), m.savedDate.toString(Qt::ISODate)},
        {QStringLiteral("mineral_comment"), m.comment},
    };
    if (v >= 8) {
        json.insert(QStringLiteral("collection_name"), m.collectionName);
        json.insert(QStringLiteral("collection_id"), m.collectionId);
    } else {
        json.insert(QStringLiteral("owner_ident_label"), m.label);
        json.insert(QStringLiteral("owner_ident_no"), m.number);
    }
    if (v >= 9) {
        json.insert(QStringLiteral("created_as_version"), v);
        if (m.writeCreatedDate)
            json.insert(QStringLiteral("created_date"),
                        m.savedDate.addDays(-3).toString(Qt::ISODate));
    }
    if (m.rating >= 0)
        json.insert(QStringLiteral("rating"), m.rating);

    const SaveDataFileNames names = SaveDataFileNames::forVersion(v, m.label);
    bool ok = samplePhoto(m.points.value(0).mineral, false, m_random)
                  .scaled(800, 600)
                  .save(QDir(folder).filePath(names.overviewImage), nullptr, 95);

    QJsonArray sectors;
    for (int n = 1; n <= m.points.size(); ++n) {
        const DemoPoint &point = m.points.at(n - 1);
        const DemoMineral &mineral = demoMineral(point.mineral);
        const QString sectorDir = QDir(folder).filePath(SaveDataFiles::locationFolderName(n));

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

        // The detector sees counts per pixel; the spectra follow from the calibration.
        QVector<double> counts(ccdWidth);
        RamanData<Wavenumbers> raw;
        for (int i = 0; i < ccdWidth; ++i) {
            const double nm
                = (i * demoCalibration.a) * i + i * demoCalibration.b + demoCalibration.c;
            const double shift = ramanShift(nm);
            const double expected
                = fluorescence(shift, point.fluorescence) + 6000.0 * bandSignal(mineral, shift);
            counts[i] = std::max(0.0, expected + std::sqrt(expected) * gaussianNoise());
            raw.x.append(shift);
            raw.y.append(counts[i]);
        }
        RamanData<Wavenumbers> background{raw.x, {}};
        for (double shift : raw.x)
            background.y.append(fluorescence(shift, point.fluorescence));
        RamanData<Wavenumbers> corrected{raw.x, {}};
        for (int i = 0; i < raw.size(); ++i)
            corrected.y.append(raw.y[i] - background.y[i]);
        RamanData<Wavenumbers> processed = corrected.resampled(1.25).smoothed(2, 5);
        processed.cut(100.0, 2000.0);
        processed = processed.normalized();

        QVector<quint16> frame(ccdWidth * ccdHeight);
        for (int row = 0; row < ccdHeight; ++row) {
            const double profile = std::exp(-std::pow((row - ccdHeight / 2.0) / 6.0, 2));
            for (int col = 0; col < ccdWidth; ++col) {
                const double value = 200.0 + counts[col] * profile / 10.0 + 4.0 * gaussianNoise();
                frame[row * ccdWidth + col] = quint16(std::clamp(value, 0.0, 65535.0));
            }
        }
        frame[10 * ccdWidth + 400] = 65535; // hot pixels, as real detectors have
        frame[40 * ccdWidth + 901] = 65535;

        IdentificationData &id = sector.identificationData;
        id.objective_focal_length_camera = 200.0;
        if (point.identification != DemoIdentification::None) {
            id.mineral_suggested_auto = mineral.name;
            id.auto_korrelation = 7.5 + m_random.bounded(2.4);
            id.raman_library_ident_no = QStringLiteral("D%1").arg(
                100001 + int(&mineral - demoMinerals().constData()) * 2);
        }
        if (point.identification == DemoIdentification::Final) {
            id.mineral_suggested_manual = mineral.name;
            id.manual_korrelation = id.auto_korrelation;
            id.mineral_final_identification = mineral.germanName;
        }
        sectors.append(SaveDataJson::sectorToJson(sector));

        if (m.dropLastLocationFolder && n == m.points.size())
            continue;
        ok = ok && QDir().mkpath(sectorDir);
        const QDir dir(sectorDir);
        ok = ok
             && samplePhoto(point.mineral, true, m_random)
                    .save(dir.filePath(names.withLaserImage), nullptr, 95);
        ok = ok
             && samplePhoto(point.mineral, false, m_random)
                    .save(dir.filePath(names.withoutLaserImage), nullptr, 95);
        ok = ok && spectrumPicture(raw).save(dir.filePath(names.rawSpectrumImage), nullptr, 95);
        ok = ok && writeSpectrumText(dir.filePath(names.processedSpectrum), processed);
        if (!names.rawSpectrum.isEmpty())
            ok = ok && writeSpectrumText(dir.filePath(names.rawSpectrum), raw);
        if (!names.ccdRaw.isEmpty()) {
            QByteArray bytes(frame.size() * 2, Qt::Uninitialized);
            qToLittleEndian<quint16>(frame.constData(), frame.size(), bytes.data());
            ok = ok && writeBytes(dir.filePath(names.ccdRaw), bytes);
            ok = ok && ccdPicture(frame).save(dir.filePath(names.ccdRawImage), nullptr, 95);
        }
        if (!names.calibrationLines.isEmpty())
            ok = ok
                 && writeCalibrationLines(dir.filePath(names.calibrationLines),
                                          neonCalibrationLines());
        if (point.identification != DemoIdentification::None)
            ok = ok
                 && spectrumPicture(processed).save(dir.filePath(names.searchResultImage), nullptr,
                                                    95);
    }
    json.insert(QStringLiteral("sectors"), sectors);
    return ok
           && writeBytes(QDir(folder).filePath(SaveDataFiles::metadataFileName()),
                         QJsonDocument(json).toJson(QJsonDocument::Indented));
}

bool DemoWriter::writeLibrary(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QByteArray chemistry;
    bool ok = true;
    int number = 100001;
    for (const DemoMineral &mineral : demoMinerals()) {
        chemistry += mineral.name.toUtf8() + ' ' + mineral.formulaHtml.toUtf8() + '\n';
        for (int sample = 0; sample < 2; ++sample, ++number) {
            const QString id = QStringLiteral("D%1").arg(number);
            // Two samples of one mineral differ a little in band position and noise.
            const double drift = sample == 0 ? 0.0 : 1.5;
            QByteArray text = "##NAMES=" + mineral.name.toUtf8() + "\r\n##RRUFFID=" + id.toUtf8()
                              + "\r\n##IDEAL CHEMISTRY=" + mineral.formulaHtml.toUtf8()
                              + "\r\n##SOURCE=synthetic demo spectrum\r\n";
            for (double shift = 100.0; shift <= 1500.0; shift += 0.5) {
                const double value
                    = 1000.0 * bandSignal(mineral, shift - drift) + 4.0 * gaussianNoise() + 10.0;
                text += QByteArray::number(shift, 'f', 2) + ", " + QByteArray::number(value, 'f', 3)
                        + "\r\n";
            }
            text += "##END=\r\n";
            const QString fileName
                = QStringLiteral("%1__%2__Raman__532__0__unoriented__Raman_Data_Processed__%3.txt")
                      .arg(mineral.name, id)
                      .arg(number);
            ok = ok && writeBytes(QDir(folder).filePath(fileName), text);
        }
    }
    return ok && writeBytes(QDir(folder).filePath(QStringLiteral("chemistry.csv")), chemistry);
}

const QVector<DemoMeasurement> &demoMeasurements()
{
    using I = DemoIdentification;
    const auto at = [](int y, int mo, int d) { return QDateTime(QDate(y, mo, d), QTime(14, 30)); };
    static const QVector<DemoMeasurement> measurements = [&] {
        QVector<DemoMeasurement> list;
        DemoMeasurement m;

        m = {};
        m.relativePath = QStringLiteral("2016/Altbestand/Q-7 Bergkristall");
        m.version = 2;
        m.owner = QStringLiteral("Mineralogische Sammlung");
        m.label = QStringLiteral("Q");
        m.number = QStringLiteral("7");
        m.location = QStringLiteral("Gotthard, Schweiz");
        m.foundDate = QDate(1987, 1, 1);
        m.yearOnly = true;
        m.savedDate = at(2016, 5, 12);
        m.points = {{QStringLiteral("Quartz"), I::Final, 0.3}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("2016/Altbestand/Kalkspat Stufe");
        m.version = 2;
        m.owner = QStringLiteral("Mineralogische Sammlung");
        m.label = QStringLiteral("CA");
        m.location = QStringLiteral("Eisleben");
        m.noDate = true;
        m.savedDate = at(2016, 6, 2);
        m.points = {{QStringLiteral("Calcite"), I::AutoOnly, 0.8}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("2017/Sammlung Huber/Korund HU-3");
        m.version = 3;
        m.owner = QStringLiteral("Huber, Anna");
        m.label = QStringLiteral("HU");
        m.number = QStringLiteral("3");
        m.location = QStringLiteral("Sri Lanka");
        m.comment = QStringLiteral("Zwei Messpunkte: Kristallfläche und Bruch.");
        m.savedDate = at(2017, 3, 21);
        m.points = {{QStringLiteral("Corundum"), I::Final, 2.0},
                    {QStringLiteral("Corundum"), I::None, 3.5}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("2017/Sammlung Huber/Hämatit HU-8");
        m.version = 5;
        m.owner = QStringLiteral("Huber, Anna");
        m.label = QStringLiteral("HU");
        m.number = QStringLiteral("8");
        m.location = QStringLiteral("Elba, Italien");
        m.foundDate = QDate(2015, 8, 14);
        m.savedDate = at(2017, 9, 5);
        m.rating = 4;
        m.points = {{QStringLiteral("Hematite"), I::Final, 0.5}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("2018/TiO2 Vergleich");
        m.version = 5;
        m.owner = QStringLiteral("Institut für Geowissenschaften");
        m.label = QStringLiteral("TI");
        m.number = QStringLiteral("1");
        m.location = QStringLiteral("Binntal, Schweiz");
        m.savedDate = at(2018, 2, 11);
        m.rating = 2;
        m.points = {{QStringLiteral("Anatase"), I::Final, 1.0},
                    {QStringLiteral("Rutile"), I::Final, 1.2}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("2018/Exkursion Tauern/TA-12 Gips");
        m.version = 7;
        m.owner = QStringLiteral("Exkursion 2018");
        m.label = QStringLiteral("TA");
        m.number = QStringLiteral("12");
        m.location = QStringLiteral("Hohe Tauern, Österreich");
        m.foundDate = QDate(2018, 7, 3);
        m.savedDate = at(2018, 7, 20);
        m.rating = 0;
        m.points = {{QStringLiteral("Gypsum"), I::Final, 1.5}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("2018/Exkursion Tauern/Probe 12b");
        m.version = 7;
        m.owner = QStringLiteral("Exkursion 2018");
        m.number = QStringLiteral("12");
        m.location = QStringLiteral("Hohe Tauern, Österreich");
        m.foundDate = QDate(2018, 7, 3);
        m.savedDate = at(2018, 7, 21);
        m.points = {{QStringLiteral("Quartz"), I::AutoOnly, 2.5}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("2019/");
        m.version = 8;
        m.owner = QStringLiteral("Exkursion 2019");
        m.collectionName = QStringLiteral("Tauern");
        m.collectionId = QStringLiteral("21");
        m.location = QStringLiteral("Rauris, Österreich");
        m.foundDate = QDate(2019, 6, 30);
        m.savedDate = at(2019, 8, 1);
        m.rating = 3;
        m.points = {{QStringLiteral("Aragonite"), I::Final, 1.0}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("2020/Projekte/Pigmente/");
        m.version = 9;
        m.owner = QStringLiteral("Restaurierungswerkstatt");
        m.collectionName = QStringLiteral("Altarbild");
        m.collectionId = QStringLiteral("P-04");
        m.location = QStringLiteral("Rote Fassung, Gewandsaum");
        m.comment = QStringLiteral("Probe aus der roten Fassung; Verdacht auf Zinnober.");
        m.noDate = true;
        m.savedDate = at(2020, 11, 9);
        m.rating = 5;
        m.points = {{QStringLiteral("Cinnabar"), I::Final, 0.6},
                    {QStringLiteral("Cinnabar"), I::AutoOnly, 1.8}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("2020/Projekte/Pigmente/");
        m.version = 9;
        m.owner = QStringLiteral("Restaurierungswerkstatt");
        m.collectionName = QStringLiteral("Altarbild");
        m.collectionId = QStringLiteral("P-05");
        m.location = QStringLiteral("Blaue Fassung, Himmel");
        m.noDate = true;
        m.savedDate = at(2020, 11, 10);
        m.writeCreatedDate = false;
        m.points = {{QStringLiteral("Lazurite"), I::None, 1.0}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("2022/");
        m.version = 10;
        m.owner = QStringLiteral("Huber, Anna");
        m.collectionName = QStringLiteral("Huber");
        m.collectionId = QStringLiteral("HU-31");
        m.location = QStringLiteral("Freiberg, Sachsen");
        m.foundDate = QDate(2021, 4, 17);
        m.savedDate = at(2022, 1, 28);
        m.rating = 1;
        m.points = {{QStringLiteral("Baryte"), I::Final, 0.9}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("");
        m.version = 11;
        m.owner = QStringLiteral("Edelsteinlabor");
        m.collectionName = QStringLiteral("Prüfsteine");
        m.collectionId = QStringLiteral("7");
        m.location = QStringLiteral("unbekannt");
        m.noDate = true;
        m.savedDate = at(2025, 3, 4);
        m.rating = 5;
        m.points = {{QStringLiteral("Diamond"), I::Final, 0.2}};
        list << m;

        m = {};
        m.relativePath = QStringLiteral("");
        m.version = 11;
        m.owner = QStringLiteral("Edelsteinlabor");
        m.collectionName = QStringLiteral("Prüfsteine");
        m.collectionId = QStringLiteral("8");
        m.location = QStringLiteral("Zabargad, Ägypten");
        m.comment = QStringLiteral("Peridot; zweiter Messpunkt fehlt auf der Festplatte.");
        m.foundDate = QDate(2024, 2, 1);
        m.savedDate = at(2025, 3, 5);
        m.points = {{QStringLiteral("Forsterite"), I::Final, 1.1},
                    {QStringLiteral("Forsterite"), I::Final, 1.3}};
        m.dropLastLocationFolder = true;
        list << m;

        m = {};
        m.relativePath = QStringLiteral("");
        m.version = 11;
        m.owner = QStringLiteral("Institut für Geowissenschaften");
        m.collectionName = QStringLiteral("Dünnschliff");
        m.collectionId = QStringLiteral("DS-112");
        m.location = QStringLiteral("Schwarzwald");
        m.foundDate = QDate(2026, 9, 18);
        m.savedDate = at(2026, 10, 2);
        m.rating = 3;
        m.points = {{QStringLiteral("Albite"), I::Final, 2.0},
                    {QStringLiteral("Quartz"), I::Final, 2.2},
                    {QStringLiteral("Calcite"), I::None, 3.0}};
        list << m;
        return list;
    }();
    return measurements;
}
