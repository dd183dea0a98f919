#include "spectrum/calibrationfile.h"

#include "core/logging.h"
#include "spectrum/calibrationlines.h"
#include "spectrum/quadraticfit.h"

#include <QStandardPaths>

QString defaultCalibrationFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
           + QLatin1String("/Calibration.txt");
}

CalibrationParameters calibrationFromLines(const CalibrationLines &lines)
{
    if (lines.size() < 1 || lines.wavelengths.size() != lines.pixels.size()) {
        qCWarning(logUiOptions) << "no calibration data -- using identity calibration parameters";
        return {};
    }
    const QuadraticCoefficients fit = fitQuadratic(lines.pixels, lines.wavelengths);
    CalibrationParameters parameters;
    parameters.a = fit.a;
    parameters.b = fit.b;
    parameters.c = fit.c;
    return parameters;
}

CalibrationParameters calibrationFromLines(const QString &path)
{
    return calibrationFromLines(
        loadCalibrationLines(path.isEmpty() ? defaultCalibrationFilePath() : path));
}
