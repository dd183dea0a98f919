// Scanning a large measurement archive with the browse model, alone and inside the browse widget:
//   bench_browse_scan [--folders N] [--root DIR] [--runs N]
// Writes a nested archive of N measurement folders (default 10000) into a temporary folder, or
// into DIR when given (reused when it already holds one), and reports the time to the first row,
// to the whole list and to the end of the scan, and the longest event-loop turn, on a first start
// (no index of earlier scans) and a second one (index present, archive unchanged).
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
    qint64 totalMs = 0; // until the scan reports that it is done
    qint64 cpuMs = 0;   // below totalMs when other processes share the cores
    qint64 firstRowMs = -1;
    qint64 wholeListMs = -1; // until as many rows are listed as at the end
    int rows = 0;
    double longestTurnMs = 0; // the longest event-loop turn: how long the window froze at most
};

// Times every outermost event delivery while a scan runs.
class TurnTimingApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool timing = false;
    double longestMs = 0;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!timing || m_depth > 0)
            return deliver(receiver, event);
        QElapsedTimer timer;
        timer.start();
        const bool handled = deliver(receiver, event);
        longestMs = qMax(longestMs, timer.nsecsElapsed() / 1e6);
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

Result scan(TurnTimingApplication &app, SaveDataBrowseModel *model, const QString &root)
{
    Result result;
    QEventLoop loop;
    QElapsedTimer timer;
    QVector<QPair<qint64, int>> counts; // time, rows
    const auto inserted = QObject::connect(model, &QAbstractItemModel::rowsInserted, [&] {
        counts.append({timer.elapsed(), model->rowCount()});
    });
    QObject::connect(model, &SaveDataBrowseModel::loadingFinished, &loop, &QEventLoop::quit);
    app.longestMs = 0;
    app.timing = true;
    const std::clock_t cpuStart = std::clock();
    timer.start();
    model->setDirectory(root);
    loop.exec();
    result.totalMs = timer.elapsed();
    result.cpuMs = (std::clock() - cpuStart) * 1000 / CLOCKS_PER_SEC;
    app.timing = false;
    result.longestTurnMs = app.longestMs;
    QObject::disconnect(inserted);
    result.rows = model->rowCount();
    if (!counts.isEmpty())
        result.firstRowMs = counts.first().first;
    for (const auto &count : qAsConst(counts)) {
        if (count.second >= result.rows) {
            result.wholeListMs = count.first;
            break;
        }
    }
    return result;
}

void report(const char *mode, int run, const Result &r)
{
    std::printf("%s, run %d: %d measurements, first row after %lld ms, all listed after %lld ms, "
                "done after %lld ms (CPU %lld ms); longest event-loop turn %.1f ms\n",
                mode, run, r.rows, static_cast<long long>(r.firstRowMs),
                static_cast<long long>(r.wholeListMs), static_cast<long long>(r.totalMs),
                static_cast<long long>(r.cpuMs), r.longestTurnMs);
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
    TurnTimingApplication app(argc, argv);
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
    // A first start has no index of earlier scans; a second one finds it, the archive unchanged.
    const QString index = temporary.filePath(QStringLiteral("browse-index.sqlite"));
    for (const bool widget : {false, true}) {
        for (const bool firstStart : {true, false}) {
            for (int run = 1; run <= runs; ++run) {
                if (firstStart)
                    QFile::remove(index);
                SaveDataBrowseWidget browse;
                SaveDataBrowseModel alone;
                SaveDataBrowseModel *model = widget ? browse.model() : &alone;
                model->setIndexPath(index);
                if (widget) {
                    browse.resize(800, 600);
                    browse.show();
                }
                const QString mode = QStringLiteral("%1, %2").arg(
                    firstStart ? QStringLiteral("first start") : QStringLiteral("second start"),
                    widget ? QStringLiteral("in the browse widget")
                           : QStringLiteral("model alone"));
                report(qPrintable(mode), run, scan(app, model, root));
            }
        }
    }
    std::printf("(%d log messages discarded)\n", g_messages);
    return 0;
}
