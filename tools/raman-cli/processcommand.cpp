#include "processcommand.h"

#include "spectruminput.h"

#include "clicommand.h"

#include "spectrum/goldindeccurves.h"
#include "spectrum/processing.h"
#include "spectrum/spectrumfile.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace {

const QString rebinName = QStringLiteral("rebin");
const QString cutName = QStringLiteral("cut");
const QString smoothName = QStringLiteral("smooth");
const QString backgroundName = QStringLiteral("background");
const QString cut2Name = QStringLiteral("cut2");
const QString normalizeName = QStringLiteral("normalize");

bool parseDouble(const QString &text, double *value)
{
    bool ok = false;
    *value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(*value);
}

bool parseUnsigned(const QString &text, quint32 *value)
{
    bool ok = false;
    *value = text.trimmed().toUInt(&ok);
    return ok;
}

bool parseRange(const QString &text, double *min, double *max)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    return parts.size() == 2 && parseDouble(parts[0], min) && parseDouble(parts[1], max);
}

bool parseBackground(const QString &text, ProcessingParameters *parameters)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    const QString &method = parts.constFirst();
    if (method == QLatin1String("goldindec")) {
        parameters->useGoldindec = true;
        return parts.size() == 1
               || (parts.size() == 2 && parseUnsigned(parts[1], &parameters->goldindecReduction));
    }
    parameters->useGoldindec = false;
    parameters->controlPoints.clear();
    if (method == QLatin1String("splines")) {
        parameters->dynamic = false;
        if (parts.size() > 3
            || (parts.size() >= 2 && !parseUnsigned(parts[1], &parameters->splineSupportPoints)))
            return false;
        if (parts.size() == 3) {
            if (parts[2] != QLatin1String("dynamic"))
                return false;
            parameters->dynamic = true;
        }
        return true;
    }
    if (method == QLatin1String("manual")) {
        if (parts.size() != 2)
            return false;
        for (const QString &position : parts[1].split(QLatin1Char(','))) {
            double value = 0.0;
            if (!parseDouble(position, &value))
                return false;
            parameters->controlPoints.append(value);
        }
        return true;
    }
    return false;
}

// The background that the pipeline removed, in the intensity units before any normalisation.
QVector<double> removedBackground(const RamanData<Wavenumbers> &input,
                                  const ProcessingParameters &parameters)
{
    ProcessingParameters corrected = parameters;
    corrected.steps &= ~quint32(Normalize | NormalizeToMaximum);
    ProcessingParameters uncorrected = corrected;
    uncorrected.steps &= ~quint32(SubtractBackground);
    const RamanData<Wavenumbers> after = processed(input, corrected);
    const RamanData<Wavenumbers> before = processed(input, uncorrected);
    QVector<double> background(after.y.size());
    for (int i = 0; i < background.size() && i < before.y.size(); ++i)
        background[i] = before.y[i] - after.y[i];
    return background;
}

} // namespace

void addProcessingOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {rebinName, QStringLiteral("re-bin onto the grid k * STEP (1/cm) first"),
         QStringLiteral("STEP")},
        {cutName, QStringLiteral("keep MIN <= x <= MAX before processing"),
         QStringLiteral("MIN:MAX")},
        {smoothName, QStringLiteral("Savitzky-Golay smoothing, polynomial order and odd width"),
         QStringLiteral("ORDER:WIDTH")},
        {backgroundName,
         QStringLiteral("remove the background: goldindec[:REDUCTION] (default 4), "
                        "splines[:POINTS[:dynamic]] (default 8) or manual:X1,X2,... "
                        "(at least three control points), or none"),
         QStringLiteral("METHOD")},
        {cut2Name, QStringLiteral("keep MIN <= x <= MAX after background removal"),
         QStringLiteral("MIN:MAX")},
        {normalizeName,
         QStringLiteral("normalise last: unit (divide by sqrt(sum(y^2)/10)) or max (maximum 1)"),
         QStringLiteral("unit|max")},
    });
}

bool processingParametersFromOptions(const QCommandLineParser &parser,
                                     ProcessingParameters *parameters, double *rebinStep,
                                     QString *error)
{
    *rebinStep = 0.0;
    if (parser.isSet(rebinName)
        && (!parseDouble(parser.value(rebinName), rebinStep) || !(*rebinStep > 0.0))) {
        *error = QStringLiteral("--rebin needs a positive step, not '%1'")
                     .arg(parser.value(rebinName));
        return false;
    }
    if (parser.isSet(cutName)) {
        if (!parseRange(parser.value(cutName), &parameters->cutMinimum, &parameters->cutMaximum)) {
            *error = QStringLiteral("--cut needs MIN:MAX, not '%1'").arg(parser.value(cutName));
            return false;
        }
        parameters->steps |= Cut;
    }
    if (parser.isSet(smoothName)) {
        const QStringList parts = parser.value(smoothName).split(QLatin1Char(':'));
        if (parts.size() != 2 || !parseUnsigned(parts[0], &parameters->smoothingOrder)
            || !parseUnsigned(parts[1], &parameters->smoothingWidth)) {
            *error = QStringLiteral("--smooth needs ORDER:WIDTH, not '%1'")
                         .arg(parser.value(smoothName));
            return false;
        }
        parameters->steps |= Smooth;
    }
    if (parser.isSet(backgroundName) && parser.value(backgroundName) == QLatin1String("none")) {
        parameters->steps &= ~quint32(SubtractBackground);
    } else if (parser.isSet(backgroundName)) {
        if (!parseBackground(parser.value(backgroundName), parameters)) {
            *error = QStringLiteral("--background needs goldindec[:REDUCTION], "
                                    "splines[:POINTS[:dynamic]] or manual:X1,X2,..., not '%1'")
                         .arg(parser.value(backgroundName));
            return false;
        }
        parameters->steps |= SubtractBackground;
    }
    if (parser.isSet(cut2Name)) {
        if (!parseRange(parser.value(cut2Name), &parameters->secondCutMinimum,
                        &parameters->secondCutMaximum)) {
            *error = QStringLiteral("--cut2 needs MIN:MAX, not '%1'").arg(parser.value(cut2Name));
            return false;
        }
        parameters->steps |= CutAfterBackground;
    }
    if (parser.isSet(normalizeName)) {
        const QString kind = parser.value(normalizeName);
        if (kind == QLatin1String("unit")) {
            parameters->steps |= Normalize;
        } else if (kind == QLatin1String("max")) {
            parameters->steps |= NormalizeToMaximum;
        } else {
            *error = QStringLiteral("--normalize needs unit or max, not '%1'").arg(kind);
            return false;
        }
    }
    return true;
}

int runProcessCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs the processing pipeline over the spectrum file IN (JCAMP-DX, SPC, RRUFF text, CSV): "
        "re-bin, cut, smooth, remove the "
        "background, second cut, normalise, in this order and each only when asked for. Writes "
        "the result as a text spectrum (x y per line)."));
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("spectrum file"));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("write the result to FILE instead of standard output"),
        QStringLiteral("FILE"));
    const QCommandLineOption baselineOption(
        QStringLiteral("baseline-out"),
        QStringLiteral("write the removed background to FILE (intensities before normalisation)"),
        QStringLiteral("FILE"));
    parser.addOption(outputOption);
    addProcessingOptions(parser);
    parser.addOption(baselineOption);
    addSpectrumInputOptions(parser);
    if (const auto done
        = parseCommandLine(parser, "process", arguments, 1, 1, "input spectrum IN", out, err))
        return *done;
    ProcessingParameters parameters;
    double rebinStep = 0.0;
    QString error;
    if (!processingParametersFromOptions(parser, &parameters, &rebinStep, &error)) {
        err << "raman-cli process: " << error << '\n';
        return 2;
    }
    if (parser.isSet(baselineOption) && !parameters.has(SubtractBackground)) {
        err << "raman-cli process: --baseline-out needs --background\n";
        return 2;
    }

    const QString input = parser.positionalArguments().constFirst();
    RamanData<Wavenumbers> spectrum = readSpectrumInput(parser, input, "process", err);
    if (spectrum.isEmpty())
        return 1;
    if (rebinStep > 0.0)
        spectrum = spectrum.resampled(rebinStep);
    const QString curvesFolder = requestedGoldindecCurvesFolder();
    GoldindecCurves curves;
    const RamanData<Wavenumbers> result
        = processed(spectrum, parameters, curvesFolder.isEmpty() ? nullptr : &curves);
    writeGoldindecCurves(curves, curvesFolder);

    if (parser.isSet(baselineOption)) {
        const QString path = parser.value(baselineOption);
        const RamanData<Wavenumbers> background{result.x, removedBackground(spectrum, parameters)};
        if (!writeSpectrumText(path, background)) {
            err << "raman-cli process: cannot write " << QDir::toNativeSeparators(path) << '\n';
            return 1;
        }
    }
    if (parser.isSet(outputOption)) {
        const QString path = parser.value(outputOption);
        if (!writeSpectrumText(path, result)) {
            err << "raman-cli process: cannot write " << QDir::toNativeSeparators(path) << '\n';
            return 1;
        }
    } else {
        out << QString::fromLatin1(spectrumText(result));
    }
    return 0;
}
