#include "spectrum/calibrationlines.h"

#include "core/logging.h"
#include "spectrum/spectrumfile.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

CalibrationLines loadCalibrationLines(const QString &path)
{
    CalibrationLines lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCWarning(logUiOptions) << "failed to load calibration lines: failed to open file" << path
                                << "for reading";
        return lines;
    }
    return calibrationLinesFromText(file.readAll());
}

CalibrationLines calibrationLinesFromText(const QByteArray &text)
{
    CalibrationLines lines;
    QTextStream stream(text);
    QString line;
    while (stream.readLineInto(&line)) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // A missing or malformed field reads as 0, as the instrument's own reader did.
        const double wavelength = fields.size() > 0 ? fields[0].toDouble() : 0.0;
        const double pixel = fields.size() > 1 ? fields[1].toDouble() : 0.0;
        lines.wavelengths.append(wavelength);
        lines.pixels.append(pixel);
    }
    return lines;
}

QByteArray calibrationLinesText(const CalibrationLines &lines)
{
    QByteArray text;
    const int n = std::min(lines.pixels.size(), lines.wavelengths.size());
    for (int i = 0; i < n; ++i) {
        text += formatSpectrumNumber(lines.wavelengths[i]).toLatin1();
        text += ' ';
        text += formatSpectrumNumber(lines.pixels[i]).toLatin1();
        text += '\n';
    }
    return text;
}

bool writeCalibrationLines(const QString &path, const CalibrationLines &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)
        || file.write(calibrationLinesText(lines)) < 0 || !file.commit()) {
        qCWarning(logDataIo) << "failed to write calibration lines to" << path << ":"
                             << file.errorString();
        return false;
    }
    return true;
}
