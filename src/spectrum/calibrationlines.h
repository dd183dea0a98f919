#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Pairs of detector pixel position and known wavelength, index-aligned.
struct CalibrationLines
{
    QVector<double> pixels;
    QVector<double> wavelengths;

    int size() const { return pixels.size(); }
    bool operator==(const CalibrationLines &o) const
    {
        return pixels == o.pixels && wavelengths == o.wavelengths;
    }
};

// calibration_lines.txt: "wavelength pixel" per line. A missing file gives empty lines and a
// warning.
CalibrationLines loadCalibrationLines(const QString &path);
CalibrationLines calibrationLinesFromText(const QByteArray &text);
QByteArray calibrationLinesText(const CalibrationLines &lines);
bool writeCalibrationLines(const QString &path, const CalibrationLines &lines);
