// Scanning a large measurement archive with the browse model, alone and inside the browse widget:
//   bench_browse_scan [--folders N] [--root DIR] [--runs N]
// Writes a nested archive of N measurement folders (default 10000) into a temporary folder, or
// into DIR when given (reused when it already holds one), and reports the time to the full list,
// measurements per second and the longest single chunk, i.e. the longest event-loop turn.
#include "browse/savedatabrowsemodel.h"
#include "browse/ui/savedatabrowsewidget.h"
#include "spectrum/calibrationlines.h"
#include "storage/savedatajson.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QMetaEnum>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUuid>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

const char *const minerals[]
    = {"Quarz", "Calcit",   "Gips",    "Hämatit", "Korund", "Anatas", "Rutil",   "Baryt",
       "Albit", "Aragonit", "Diamant", "Pyrit",   "Zirkon", "Olivin", "Magnetit"};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// One measurement as the instrument writes it; only the files the list reads have real content.
bool writeMeasurement(const QString &folder, QRandomGenerator &random, const QDateTime &created)
{
    const int points = 1 + int(random.bounded(3));
    QJsonArray sectors;
    for (int n = 1; n <= points; ++n) {
        SaveDataSector sector;
        sector.exposure_objective = QStringLiteral("50x/0.75");
        sector.image_width = QStringLiteral("120 µm");
        sector.exposureData.exp_time = 1000 + int(random.bounded(9000));
        sector.exposureData.gain = 100;
        sector.exposureData.laser_wavelength = 532.0;
        sector.exposureData.ND_filter_used = QStringLiteral("ND 0.3");
        if (random.bounded(4) != 0) {
            const QString mineral
                = QString::fromUtf8(minerals[random.bounded(int(std::size(minerals)))]);
            sector.identificationData.mineral_suggested_auto = mineral;
            sector.identificationData.mineral_final_identification = mineral;
            sector.identificationData.auto_korrelation = random.generateDouble() * 10;
        }
        sectors.append(SaveDataJson::sectorToJson(sector));

        const QString location = folder + QStringLiteral("/Location%1").arg(n);
        CalibrationLines lines;
        for (int i = 0; i < 12; ++i) {
            lines.pixels << 100.0 + 150.0 * i + random.generateDouble();
            lines.wavelengths << 540.0 + 5.0 * i;
        }
        if (!QDir().mkpath(location)
            || !writeCalibrationLines(location + QStringLiteral("/calibration_lines.txt"), lines)
            || !writeFile(location + QStringLiteral("/data.csv"), QByteArray(2048, ' ')))
            return false;
    }
    QJsonObject json{
        {QStringLiteral("save_data_version"), 11},
        {QStringLiteral("created_as_version"), 11},
        {QStringLiteral("owner"), QStringLiteral("Sammlung %1").arg(random.bounded(40))},
        {QStringLiteral("collection_name"), QStringLiteral("Projekt %1").arg(random.bounded(200))},
        {QStringLiteral("collection_id"), QStringLiteral("P-%1").arg(random.bounded(100000))},
        {QStringLiteral("unique_ident"), QUuid::createUuid().toString(QUuid::WithoutBraces)},
        {QStringLiteral("location"), QStringLiteral("Fundort %1").arg(random.bounded(500))},
        {QStringLiteral("mineral_comment"), QStringLiteral("Messung am Anschliff, Randbereich.")},
        {QStringLiteral("found_date"), QStringLiteral("1998-05-17")},
        {QStringLiteral("found_date_year_only"), false},
        {QStringLiteral("nodate"), false},
        {QStringLiteral("created_date"), created.toString(Qt::ISODate)},
        {QStringLiteral("saved_date"), created.addDays(2).toString(Qt::ISODate)},
        {QStringLiteral("sectors"), sectors},
    };
    if (random.bounded(3) != 0)
        json.insert(QStringLiteral("rating"), int(random.bounded(6)));
    return writeFile(folder + QStringLiteral("/metadata.json"), QJsonDocument(json).toJson());
}

// Years, projects and sessions of different depth, as an archive grows over time.
bool writeArchive(const QString &root, int count)
{
    QRandomGenerator random(4711);
    for (int i = 0; i < count; ++i) {
        const int year = 2010 + i % 15;
        const int project = (i / 15) % 25;
        QString folder = QStringLiteral("%1/%2/Projekt %3").arg(root).arg(year).arg(project);
        if (i % 4 == 0)
            folder += QStringLiteral("/Sitzung %1").arg((i / 375) % 8);
        folder += QStringLiteral("/Probe-%1").arg(i, 5, 10, QLatin1Char('0'));
        const QDateTime created(QDate(year, 1 + i % 12, 1 + i % 28), QTime(10, 0));
        if (!writeMeasurement(folder, random, created))
            return false;
    }
    return writeFile(root + QStringLiteral("/.bench-archive"), QByteArray::number(count));
}

struct Result
{
    qint64 totalMs = 0;
    qint64 cpuMs = 0; // below totalMs when other processes share the cores
    qint64 firstRowMs = -1;
    int rows = 0;
    int chunks = 0;
    double longestChunkMs = 0;
    double medianChunkMs = 0;
    double lastChunkMs = 0; // the one that reports the end
    double longestBeforeLastMs = 0;
    QStringList otherEvents;
};

struct EventTime
{
    int count = 0;
    double totalMs = 0;
    double longestMs = 0;
};

// Times every delivery of the model's queued chunk calls, each one event-loop turn.
class ChunkTimingApplication : public QApplication
{
public:
    using QApplication::QApplication;

    QObject *watched = nullptr;
    QVector<double> chunkMs;
    // Every other outermost event while a scan runs, by type.
    QMap<int, EventTime> otherEventMs;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!watched || m_depth > 0)
            return deliver(receiver, event);
        const bool isChunk = receiver == watched && event->type() == QEvent::MetaCall;
        QElapsedTimer timer;
        timer.start();
        const bool handled = deliver(receiver, event);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (isChunk) {
            chunkMs.append(ms);
        } else {
            EventTime &entry = otherEventMs[event->type()];
            ++entry.count;
            entry.totalMs += ms;
            entry.longestMs = qMax(entry.longestMs, ms);
        }
        return handled;
    }

private:
    bool deliver(QObject *receiver, QEvent *event)
    {
        ++m_depth;
        const bool handled = QApplication::notify(receiver, event);
        --m_depth;
        return handled;
    }

    int m_depth = 0;
};

Result scan(ChunkTimingApplication &app, SaveDataBrowseModel *model, const QString &root)
{
    Result result;
    app.watched = model;
    app.chunkMs.clear();
    app.otherEventMs.clear();
    QEventLoop loop;
    QElapsedTimer timer;
    const auto firstRow = QObject::connect(model, &QAbstractItemModel::rowsInserted, [&] {
        if (result.firstRowMs < 0)
            result.firstRowMs = timer.elapsed();
    });
    QObject::connect(model, &SaveDataBrowseModel::loadingFinished, &loop, &QEventLoop::quit);
    const std::clock_t cpuStart = std::clock();
    timer.start();
    model->setDirectory(root);
    loop.exec();
    result.totalMs = timer.elapsed();
    result.cpuMs = (std::clock() - cpuStart) * 1000 / CLOCKS_PER_SEC;
    QObject::disconnect(firstRow);
    result.rows = model->rowCount();
    QVector<double> chunks = app.chunkMs;
    if (!chunks.isEmpty()) {
        result.lastChunkMs = chunks.last();
        result.longestBeforeLastMs = *std::max_element(chunks.cbegin(), chunks.cend() - 1);
    }
    result.chunks = chunks.size();
    std::sort(chunks.begin(), chunks.end());
    if (!chunks.isEmpty()) {
        result.longestChunkMs = chunks.last();
        result.medianChunkMs = chunks.at(chunks.size() / 2);
    }
    app.watched = nullptr;
    const QMetaEnum types = QMetaEnum::fromType<QEvent::Type>();
    for (auto it = app.otherEventMs.cbegin(); it != app.otherEventMs.cend(); ++it) {
        const EventTime &t = it.value();
        if (t.totalMs >= 5.0 || t.longestMs >= 1.0)
            result.otherEvents << QStringLiteral("%1 x %2, %3 ms in all, longest %4 ms")
                                      .arg(t.count)
                                      .arg(QLatin1String(types.valueToKey(it.key())))
                                      .arg(t.totalMs, 0, 'f', 0)
                                      .arg(t.longestMs, 0, 'f', 2);
    }
    return result;
}

void report(const char *mode, int run, const Result &r)
{
    std::printf("%s, run %d: %d measurements in %lld ms = %.0f /s (CPU %lld ms = %.0f /s), "
                "first row after %lld ms\n"
                "    %d chunks: median %.2f ms, longest %.2f ms before the last, last %.2f ms\n",
                mode, run, r.rows, static_cast<long long>(r.totalMs),
                r.totalMs > 0 ? r.rows * 1000.0 / r.totalMs : 0.0, static_cast<long long>(r.cpuMs),
                r.cpuMs > 0 ? r.rows * 1000.0 / r.cpuMs : 0.0, static_cast<long long>(r.firstRowMs),
                r.chunks, r.medianChunkMs, r.longestBeforeLastMs, r.lastChunkMs);
    for (const QString &line : r.otherEvents)
        std::printf("    other event-loop work: %s\n", qPrintable(line));
    std::fflush(stdout);
}

int g_messages = 0;

// The model logs every folder at debug level; counting keeps terminal output out of the timing.
void countMessage(QtMsgType, const QMessageLogContext &, const QString &)
{
    ++g_messages;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ChunkTimingApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption foldersOption(QStringLiteral("folders"),
                                           QStringLiteral("measurement folders to write"),
                                           QStringLiteral("N"), QStringLiteral("10000"));
    const QCommandLineOption rootOption(QStringLiteral("root"),
                                        QStringLiteral("archive folder to write or reuse"),
                                        QStringLiteral("DIR"));
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("runs per mode"),
                                        QStringLiteral("N"), QStringLiteral("3"));
    parser.addOptions({foldersOption, rootOption, runsOption});
    parser.process(app);
    const int folders = parser.value(foldersOption).toInt();
    const int runs = qMax(1, parser.value(runsOption).toInt());

    QTemporaryDir temporary;
    const QString root = parser.isSet(rootOption) ? parser.value(rootOption) : temporary.path();
    QFile marker(root + QStringLiteral("/.bench-archive"));
    if (marker.open(QIODevice::ReadOnly) && marker.readAll().toInt() == folders) {
        std::printf("reusing the archive in %s\n", qPrintable(root));
    } else {
        QElapsedTimer timer;
        timer.start();
        if (!writeArchive(root, folders)) {
            std::fprintf(stderr, "bench_browse_scan: could not write below %s\n", qPrintable(root));
            return 1;
        }
        std::printf("wrote %d measurement folders in %lld ms to %s\n", folders,
                    static_cast<long long>(timer.elapsed()), qPrintable(root));
    }

    qInstallMessageHandler(countMessage);
    for (int run = 1; run <= runs; ++run) {
        SaveDataBrowseModel model;
        report("model alone", run, scan(app, &model, root));
    }
    for (int run = 1; run <= runs; ++run) {
        SaveDataBrowseWidget widget;
        widget.resize(800, 600);
        widget.show();
        report("model in the browse widget", run, scan(app, widget.model(), root));
    }
    std::printf("(%d log messages discarded)\n", g_messages);
    return 0;
}
