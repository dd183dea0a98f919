#include "ccdcommand.h"

#include "clicommand.h"

#include "spectrum/calibration.h"
#include "spectrum/calibrationfile.h"
#include "spectrum/ccdspectrum.h"
#include "spectrum/spectrumfile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cmath>

namespace {

// The frame file holds bare little-endian 16-bit values; a trailing odd byte is ignored.
bool readFrame(const QString &path, QVector<quint16> *values, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    values->resize(bytes.size() / 2);
    qFromLittleEndian<quint16>(bytes.constData(), values->size(), values->data());
    return true;
}

bool positiveInteger(const QString &text, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok && *value > 0;
}

} // namespace

int runCcdCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Turns the raw camera frame RAW (little-endian 16-bit values, row after row) into a "
        "spectrum with hot pixels removed: x is the pixel column, with --calibration the "
        "wavelength in nm, with --calibration and --laser the Raman shift in 1/cm. Writes a text "
        "spectrum (x y per line)."));
    parser.addPositionalArgument(QStringLiteral("RAW"), QStringLiteral("raw frame file"));
    const QCommandLineOption widthOption(QStringLiteral("width"),
                                         QStringLiteral("frame width in pixels (columns)"),
                                         QStringLiteral("W"));
    const QCommandLineOption heightOption(QStringLiteral("height"),
                                          QStringLiteral("frame height in pixels (rows)"),
                                          QStringLiteral("H"));
    const QCommandLineOption calibrationOption(
        QStringLiteral("calibration"),
        QStringLiteral("calibration lines (\"wavelength pixel\" per line) to fit the wavelength "
                       "axis from"),
        QStringLiteral("FILE"));
    const QCommandLineOption laserOption(
        QStringLiteral("laser"), QStringLiteral("laser wavelength in nm, for the Raman shift"),
        QStringLiteral("NM"));
    parser.addOptions({widthOption, heightOption, calibrationOption, laserOption});
    if (const auto done
        = parseCommandLine(parser, "ccd", arguments, 1, 1, "RAW frame file", out, err))
        return *done;
    int width = 0;
    int height = 0;
    if (!positiveInteger(parser.value(widthOption), &width)
        || !positiveInteger(parser.value(heightOption), &height)) {
        err << "raman-cli ccd: --width and --height must be given as positive numbers\n";
        return 2;
    }
    double laser = 0.0;
    if (parser.isSet(laserOption)) {
        bool ok = false;
        laser = parser.value(laserOption).toDouble(&ok);
        if (!ok || !std::isfinite(laser) || !(laser > 0.0)) {
            err << "raman-cli ccd: --laser needs a positive wavelength in nm, not '"
                << parser.value(laserOption) << "'\n";
            return 2;
        }
        if (!parser.isSet(calibrationOption)) {
            err << "raman-cli ccd: --laser needs --calibration for the wavelength axis\n";
            return 2;
        }
    }

    QVector<quint16> frame;
    QString error;
    if (!readFrame(parser.positionalArguments().constFirst(), &frame, &error)) {
        err << "raman-cli ccd: " << error << '\n';
        return 1;
    }
    if (qint64(width) * height != frame.size()) {
        err << "raman-cli ccd: the frame holds " << frame.size() << " values, but " << width
            << " x " << height << " = " << qint64(width) * height << '\n';
        return 1;
    }
    const RamanData<RawPixels> pixels = computeSpectrumFromCCD(QSize(width, height), frame);
    if (!parser.isSet(calibrationOption)) {
        out << QString::fromLatin1(spectrumText(pixels));
        return 0;
    }

    const QString calibrationPath = parser.value(calibrationOption);
    const CalibrationParameters calibration = calibrationFromLines(calibrationPath);
    if (!std::isfinite(calibration.a) || !std::isfinite(calibration.b)
        || !std::isfinite(calibration.c)) {
        err << "raman-cli ccd: " << QDir::toNativeSeparators(calibrationPath)
            << " gives no usable calibration (it needs three or more lines)\n";
        return 1;
    }
    const RamanData<Nanometers> wavelengths = calibrated(pixels, calibration);
    if (!parser.isSet(laserOption)) {
        out << QString::fromLatin1(spectrumText(wavelengths));
        return 0;
    }
    LaserWavelengthSettings laserSettings;
    laserSettings.mode = LaserWavelengthSettings::UseNominal;
    laserSettings.nominalWavelength = laser;
    out << QString::fromLatin1(spectrumText(toRamanShift(wavelengths, laserSettings)));
    return 0;
}
