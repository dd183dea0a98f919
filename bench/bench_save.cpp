// Time of saving one measurement of ten measuring points: bench_save [ROUNDS]
// Each round saves into the same folder, so all but the first also move the previous one aside.
#include "core/appidentity.h"
#include "report/summarypage.h"
#include "storage/savedata.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

constexpr int points = 10;
constexpr int spectrumLength = 3000;
constexpr int ccdWidth = 1340;
constexpr int ccdHeight = 400;

// A camera-like picture: smooth shapes under sensor noise, which is what makes JPEG work hard.
QImage photo(QRandomGenerator &random, int width, int height)
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

QImage graph(const RamanData<Wavenumbers> &spectrum, int width, int height)
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
QImage table(QRandomGenerator &random)
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

SaveDataSector measuringPoint(QRandomGenerator &random)
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

double ms(qint64 ns)
{
    return ns / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir workspace;
    // Backups go below the workspace, never into the user's own data folder.
    qputenv("XDG_DATA_HOME", workspace.filePath(QStringLiteral("data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    AppIdentity::apply();
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QRandomGenerator random(1234);
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

    const QString parent = workspace.filePath(QStringLiteral("measurements"));
    std::printf("saving %d measuring points (photos 1280x960, spectra of %d points, CCD %dx%d), "
                "%d rounds\n",
                points, spectrumLength, ccdWidth, ccdHeight, rounds);
    std::printf("%6s %9s %9s %9s %9s %9s %9s %9s %6s\n", "round", "total", "cpu", "backup",
                "pictures", "text", "summaries", "json", "ok");
    SaveTimings sum;
    double total = 0.0;
    double cpuTotal = 0.0;
    for (int r = 1; r <= rounds; ++r) {
        SaveTimings t;
        QElapsedTimer timer;
        const std::clock_t cpuStart = std::clock();
        timer.start();
        const bool ok = data.save(parent, QStringLiteral("benchmark"), writeSummaryPage, &t);
        const double elapsed = ms(timer.nsecsElapsed());
        const double cpu = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        std::printf("%6d %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %6s\n", r, elapsed, cpu,
                    ms(t.backup), ms(t.pictures), ms(t.textFiles), ms(t.summaries), ms(t.json),
                    ok ? "yes" : "NO");
        total += elapsed;
        cpuTotal += cpu;
        sum.backup += t.backup;
        sum.pictures += t.pictures;
        sum.textFiles += t.textFiles;
        sum.summaries += t.summaries;
        sum.json += t.json;
    }
    std::printf("%6s %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f   (ms per save)\n", "mean",
                total / rounds, cpuTotal / rounds, ms(sum.backup) / rounds,
                ms(sum.pictures) / rounds, ms(sum.textFiles) / rounds, ms(sum.summaries) / rounds,
                ms(sum.json) / rounds);
    return 0;
}
