#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

#include <limits>

// The translation context of the readers' messages.
class SpectrumImport
{
    Q_DECLARE_TR_FUNCTIONS(SpectrumImport)
};

// What one format reader found, before the unit conversion and checks that all formats share.
struct RawSpectrum
{
    enum class Axis {
        RamanShift,
        Wavenumber,         // 1/cm that may be absolute or Raman shift: judged by the values
        AbsoluteWavenumber, // 1/cm
        Nanometers,
        Micrometers,
        Unsupported,
    };

    QVector<double> x, y;
    Axis axis = Axis::RamanShift;
    QString xUnit;
    QString title;
    double laserWavelength = std::numeric_limits<double>::quiet_NaN();
    QStringList notes;
    QString problem; // translated; empty when the reader succeeded
};

// Above this many points a file is taken as broken rather than read.
constexpr qint64 MaximumSpectrumPoints = 10'000'000;

RawSpectrum readJcampDx(const QByteArray &content);
RawSpectrum readSpc(const QByteArray &content);
RawSpectrum readRruffText(const QByteArray &content);
RawSpectrum readDelimitedText(const QByteArray &content);

// Helpers shared by the text readers.
namespace FormatText {
// Lines without their line ends (LF, CRLF or CR).
QVector<QByteArray> lines(const QByteArray &content);
// A number in the file's own form; false for anything else, including trailing characters.
bool toDouble(QByteArray text, double *value, bool decimalComma = false);
// A laser wavelength (nm) from a header value such as "785", "785 nm" or "532.0nm"; NaN else.
double laserFromValue(const QString &value);
QString problemLine(int line);
} // namespace FormatText
