#pragma once

#include "spectrum/calibration.h"

#include <QString>

struct CalibrationLines;

// The instrument's own calibration lines: "/Calibration.txt" in the writable application data
// folder.
QString defaultCalibrationFilePath();

// Wavelength as a quadratic in the pixel position, fitted to the lines; NaN parameters (and a
// warning) when there are none.
CalibrationParameters calibrationFromLines(const CalibrationLines &lines);

// The fit of the lines in the file at `path`, the default file when `path` is empty.
CalibrationParameters calibrationFromLines(const QString &path = QString());
