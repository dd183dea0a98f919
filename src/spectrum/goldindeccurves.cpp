#include "spectrum/goldindeccurves.h"

#include "core/logging.h"
#include "spectrum/spectrumfile.h"

#include <QDir>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

void writeCurve(const QString &path, const QVector<double> &x, const QVector<double> &y)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(spectrumText(x, y)) < 0
        || !file.commit())
        qCWarning(logDataIo) << "cannot write the Goldindec curve" << path << file.errorString();
}

} // namespace

// Never beside the program, where an installed one cannot write.
QString requestedGoldindecCurvesFolder()
{
    const bool asked
        = qEnvironmentVariableIntValue("RAMAN_GOLDINDEC_CURVES") != 0
          || QSettings().value(QStringLiteral("Processing/WriteGoldindecCurves"), false).toBool();
    if (!asked)
        return QString();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                           + QStringLiteral("/goldindec");
    if (!QDir().mkpath(folder)) {
        qCWarning(logDataIo) << "cannot create the folder for Goldindec curves:" << folder;
        return QString();
    }
    return folder;
}

void writeGoldindecCurves(const GoldindecCurves &curves, const QString &folder)
{
    if (curves.x.isEmpty() || folder.isEmpty())
        return;
    QVector<double> corrected(curves.y.size());
    for (int i = 0; i < corrected.size() && i < curves.baseline.size(); ++i)
        corrected[i] = curves.y[i] - curves.baseline[i];
    writeCurve(folder + QLatin1String("/baseline.txt"), curves.x, curves.baseline);
    writeCurve(folder + QLatin1String("/baselineii.txt"), curves.rescaledX,
               curves.rescaledBaseline);
    writeCurve(folder + QLatin1String("/subbase.txt"), curves.x, corrected);
    writeCurve(folder + QLatin1String("/original.txt"), curves.x, curves.y);
}
