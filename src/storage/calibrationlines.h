#pragma once

#include "storage/savedatarecords.h"

// calibration_lines.txt: "wavelength pixel" per line. A missing file gives empty lines and a
// warning.
CalibrationLines loadCalibrationLines(const QString &path);
QByteArray calibrationLinesText(const CalibrationLines &lines);
bool writeCalibrationLines(const QString &path, const CalibrationLines &lines);
