#pragma once

// A measurement of ten measuring points as the instrument writes them: camera photos, long
// spectra, a CCD frame, graphs and a result table per point. Shared by the benchmarks.

#include "storage/savedata.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

#include <cmath>

namespace BenchMeasurement {

inline constexpr int points = 10;
inline constexpr int spectrumLength = 3000;
inline constexpr int ccdWidth = 1340;
inline constexpr int ccdHeight = 400;

// A camera-like picture: smooth shapes under sensor noise, which is what makes JPEG work hard.
inline QImage photo(QRandomGenerator &random, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient background(0, 0, width, height);
    background.setColorAt(0, QColor(70, 64, 60));
    background.setColorAt(1, QColor(20, 24, 30));
    painter.fillRect(image.rect(), background);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < 12; ++k) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 120, 80 + random.bounded(150)));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(random.bounded(width), random.bounded(height)),
                            40 + random.bounded(200), 30 + random.bounded(150));
    }
    painter.end();
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int n = int(random.bounded(9)) - 4;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255),
                           qBound(0, qBlue(c) + n, 255));
        }
    }
    return image;
}

inline QImage graph(const RamanData<Wavenumbers> &spectrum, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::darkBlue, 1.5));
    QPolygonF line;
    for (int i = 0; i < spectrum.size(); ++i)
        line << QPointF(width * double(i) / spectrum.size(), height * (1.0 - spectrum.y[i] / 1.2));
    painter.drawPolyline(line);
    painter.setPen(Qt::black);
    painter.drawText(20, 30, QStringLiteral("Raman-Verschiebung / cm⁻¹"));
    return image;
}

// The result table as the analysis window renders it: rows of names and scores on white.
inline QImage table(QRandomGenerator &random)
{
    QImage image(400, 900, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int row = 0; row < 40; ++row) {
        const int y = 20 + 22 * row;
        painter.fillRect(0, y - 16, 400, 22, row % 2 ? QColor(240, 240, 250) : QColor(Qt::white));
        painter.drawText(8, y, QStringLiteral("Mineral %1").arg(random.bounded(1000)));
        painter.drawText(300, y, QString::number(10.0 - row * 0.2, 'f', 2));
    }
    return image;
}

inline SaveDataSector measuringPoint(QRandomGenerator &random)
{
    SaveDataSector s;
    s.withLaserImage = photo(random, 1280, 960);
    s.withoutLaserImage = photo(random, 1280, 960);
    s.exposure_objective = QStringLiteral("50x/0.75");
    s.image_width = QStringLiteral("120 µm");
    s.exposureData.exp_time = 2;
    s.exposureData.gain = 1;
    s.exposureData.cam_temp = -60.25;
    s.exposureData.ND_filter_used = QStringLiteral("ND 0.3");
    s.exposureData.exposure_objective = s.exposure_objective;
    for (int i = 0; i < spectrumLength; ++i) {
        const double x = 100.0 + 0.6 * i;
        const double band = std::exp(-std::pow((x - 465.0) / 6.0, 2));
        s.rawSpectrum.x.append(x);
        s.rawSpectrum.y.append(1500.0 + 20000.0 * band + random.bounded(100.0));
        s.processedSpectrum.x.append(x);
        s.processedSpectrum.y.append(band + random.bounded(0.01));
    }
    s.ccdRaw.resize(ccdWidth * ccdHeight);
    for (quint16 &v : s.ccdRaw)
        v = quint16(200 + random.bounded(3000));
    QImage ccd(ccdWidth, ccdHeight, QImage::Format_Grayscale8);
    for (int y = 0; y < ccdHeight; ++y) {
        for (int x = 0; x < ccdWidth; ++x)
            ccd.scanLine(y)[x] = uchar(s.ccdRaw[y * ccdWidth + x] / 16);
    }
    s.ccdRawImage = ccd;
    s.rawSpectrumImage = graph(s.rawSpectrum, 1000, 600);
    s.calibrationLines.wavelengths = {540.056, 585.249, 588.19, 594.483, 609.616, 614.306};
    s.calibrationLines.pixels = {62.5, 681.25, 721.5, 807.75, 1015.5, 1079.75};
    IdentificationData &id = s.identificationData;
    id.mineral_suggested_auto = QStringLiteral("Quartz");
    id.mineral_final_identification = QStringLiteral("Quarz");
    id.auto_korrelation = 8.7654321;
    id.searchResultImage = graph(s.processedSpectrum, 1200, 700);
    id.searchResultTableImage = table(random);
    return s;
}

// The whole measurement with its overview photo.
inline SaveData tenPoints(QRandomGenerator &random)
{
    SaveData data;
    SaveDataMetadata metadata = data.metadata();
    metadata.owner = QStringLiteral("Mineralogische Sammlung");
    metadata.collection_name = QStringLiteral("Alpen");
    metadata.collection_id = QStringLiteral("17");
    metadata.location = QStringLiteral("Gotthard, Schweiz");
    metadata.found_date = QDate(1987, 6, 1);
    metadata.mineral_comment = QStringLiteral("Klarer Kristall\nmit Einschlüssen");
    metadata.overviewImage = photo(random, 1280, 960);
    data.setMetadata(metadata);
    for (int k = 0; k < points; ++k) {
        data.addSector();
        data.replaceActiveSector(measuringPoint(random));
    }
    return data;
}

} // namespace BenchMeasurement
