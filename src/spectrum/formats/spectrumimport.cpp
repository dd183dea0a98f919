#include "spectrumimport.h"

#include "core/logging.h"
#include "formatreaders.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

// Larger files are no single spectrum; refusing them keeps a wrong pick from eating the memory.
constexpr qint64 MaximumFileSize = 256LL * 1024 * 1024;
// Raman shifts stop well below this; larger 1/cm values are absolute wavenumbers.
constexpr double LargestRamanShift = 5000.0;

bool isSpc(const QByteArray &content)
{
    if (content.size() < 2)
        return false;
    const char version = content.at(1);
    return (version == 0x4B || version == 0x4C || version == 0x4D)
           && content.left(512).contains('\0');
}

bool isJcamp(const QVector<QByteArray> &lines)
{
    for (const QByteArray &line : lines) {
        const QByteArray label = line.trimmed().toUpper();
        if (label.startsWith("##JCAMP") || label.startsWith("##XYDATA")
            || label.startsWith("##XYPOINTS") || label.startsWith("##PEAK TABLE")
            || label.startsWith("##PEAKTABLE"))
            return true;
    }
    return false;
}

bool startsWithLabel(const QVector<QByteArray> &lines)
{
    for (const QByteArray &line : lines)
        if (!line.trimmed().isEmpty())
            return line.trimmed().startsWith("##");
    return false;
}

// Converts the axis to Raman shift; the problem text when it cannot.
QString toRamanShift(RawSpectrum &raw)
{
    using Axis = RawSpectrum::Axis;
    if (raw.axis == Axis::Unsupported)
        return SpectrumImport::tr(
                   "die x-Achse ist in einer Einheit, die keine Spektralachse ist (%1)")
            .arg(raw.xUnit);
    if (raw.axis == Axis::Wavenumber)
        raw.axis = *std::min_element(raw.x.cbegin(), raw.x.cend()) > LargestRamanShift
                       ? Axis::AbsoluteWavenumber
                       : Axis::RamanShift;
    if (raw.axis == Axis::RamanShift)
        return QString();
    const double laser = raw.laserWavelength;
    if (!(laser > 0.0) || !std::isfinite(laser))
        return SpectrumImport::tr("die x-Achse ist in %1, aber die Laserwellenlänge ist unbekannt")
            .arg(raw.xUnit);
    const double laserWavenumber = 1e7 / laser;
    for (double &x : raw.x) {
        if (raw.axis == Axis::Micrometers)
            x *= 1000.0;
        x = raw.axis == Axis::AbsoluteWavenumber ? laserWavenumber - x : laserWavenumber - 1e7 / x;
    }
    return QString();
}

// The checks every format shares; the problem text, or nothing when the spectrum is whole.
QString finish(RawSpectrum &raw)
{
    if (raw.x.size() != raw.y.size())
        return SpectrumImport::tr("ungleich viele x- und y-Werte");
    if (raw.x.isEmpty())
        return SpectrumImport::tr("keine Datenpunkte");
    for (int i = 0; i < raw.x.size(); ++i)
        if (!std::isfinite(raw.x[i]) || !std::isfinite(raw.y[i]))
            return SpectrumImport::tr("ungültiger Wert (NaN oder unendlich) bei Punkt %1")
                .arg(i + 1);
    const QString unitProblem = toRamanShift(raw);
    if (!unitProblem.isEmpty())
        return unitProblem;
    if (raw.x.size() > 1 && raw.x.constFirst() > raw.x.constLast()) {
        std::reverse(raw.x.begin(), raw.x.end());
        std::reverse(raw.y.begin(), raw.y.end());
    }
    if (std::adjacent_find(raw.x.cbegin(), raw.x.cend(), std::greater_equal<double>())
        != raw.x.cend())
        return SpectrumImport::tr("die x-Werte steigen nicht durchgehend");
    return QString();
}

} // namespace

ImportedSpectrum importSpectrumData(const QByteArray &content, const QString &name,
                                    double laserWavelength)
{
    ImportedSpectrum result;
    RawSpectrum raw;
    const bool spc = isSpc(content);
    const QVector<QByteArray> lines = spc ? QVector<QByteArray>() : FormatText::lines(content);
    if (spc) {
        result.format = QStringLiteral("SPC");
        raw = readSpc(content);
    } else if (isJcamp(lines)) {
        result.format = QStringLiteral("JCAMP-DX");
        raw = readJcampDx(content);
    } else if (startsWithLabel(lines)) {
        result.format = QStringLiteral("RRUFF");
        raw = readRruffText(content);
    } else if (!content.left(4096).contains('\0')) {
        result.format = QStringLiteral("CSV");
        raw = readDelimitedText(content);
    } else {
        raw.problem = SpectrumImport::tr("unbekanntes Dateiformat");
    }
    // RRUFF names files "Mineral__R050317__Raman__780__...", the laser being the fourth part.
    if (!std::isfinite(raw.laserWavelength) && result.format == QLatin1String("RRUFF"))
        raw.laserWavelength = FormatText::laserFromValue(name.section(QStringLiteral("__"), 3, 3));
    if (!std::isfinite(raw.laserWavelength))
        raw.laserWavelength = laserWavelength;
    QString problem = raw.problem.isEmpty() ? finish(raw) : raw.problem;
    if (!problem.isEmpty()) {
        result.error = SpectrumImport::tr("%1: %2").arg(name, problem);
        qCWarning(logDataIo) << "cannot import spectrum from" << name << ":" << problem;
        return result;
    }
    result.spectrum.x = raw.x;
    result.spectrum.y = raw.y;
    result.title = raw.title.trimmed();
    result.laserWavelength = raw.laserWavelength;
    result.xUnit = raw.xUnit;
    result.notes = raw.notes;
    return result;
}

ImportedSpectrum importSpectrum(const QString &path, double laserWavelength)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    ImportedSpectrum failed;
    if (!file.open(QIODevice::ReadOnly) || QFileInfo(path).isDir()) {
        failed.error = SpectrumImport::tr("%1: %2").arg(
            name, SpectrumImport::tr("die Datei lässt sich nicht öffnen"));
    } else if (file.size() > MaximumFileSize) {
        failed.error = SpectrumImport::tr("%1: %2").arg(
            name, SpectrumImport::tr("die Datei ist zu groß für ein Spektrum"));
    } else {
        const QByteArray content = file.readAll();
        if (content.size() == file.size())
            return importSpectrumData(content, name, laserWavelength);
        failed.error = SpectrumImport::tr("%1: %2").arg(
            name, SpectrumImport::tr("die Datei lässt sich nicht ganz lesen"));
    }
    qCWarning(logDataIo) << "cannot import spectrum from" << path << ":" << failed.error;
    return failed;
}

QString spectrumFileFilter()
{
    return SpectrumImport::tr("Spektren (*.jdx *.dx *.jcm *.spc *.txt *.csv *.tsv *.dat);;"
                              "Alle Dateien (*)");
}

namespace FormatText {

QVector<QByteArray> lines(const QByteArray &content)
{
    QVector<QByteArray> result;
    int start = 0;
    const int size = content.size();
    for (int i = 0; i < size; ++i) {
        const char c = content.at(i);
        if (c != '\n' && c != '\r')
            continue;
        result.append(content.mid(start, i - start));
        if (c == '\r' && i + 1 < size && content.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        result.append(content.mid(start));
    return result;
}

bool toDouble(QByteArray text, double *value, bool decimalComma)
{
    text = text.trimmed();
    if (decimalComma)
        text.replace(',', '.');
    if (text.isEmpty())
        return false;
    bool ok = false;
    *value = text.toDouble(&ok);
    if (!ok) {
        // toDouble refuses "nan" and "inf" spelled otherwise; they are values, though broken ones.
        const QByteArray lower = text.toLower();
        if (lower == "nan" || lower == "-nan" || lower == "+nan") {
            *value = std::numeric_limits<double>::quiet_NaN();
            return true;
        }
    }
    return ok;
}

double laserFromValue(const QString &value)
{
    QString text = value.trimmed();
    if (text.endsWith(QLatin1String("nm"), Qt::CaseInsensitive))
        text.chop(2);
    bool ok = false;
    const double laser = text.trimmed().toDouble(&ok);
    return ok && laser > 100.0 && laser < 20000.0 ? laser
                                                  : std::numeric_limits<double>::quiet_NaN();
}

QString problemLine(int line)
{
    return SpectrumImport::tr("Zeile %1 ist nicht lesbar").arg(line);
}

} // namespace FormatText
