#include "spectruminput.h"

#include "clicommand.h"

#include "spectrum/formats/spectrumimport.h"
#include "spectrum/spectrumfile.h"

#include <QCommandLineParser>
#include <QDir>

#include <cmath>

namespace {

const QString laserOption = QStringLiteral("laser");

} // namespace

void addSpectrumInputOptions(QCommandLineParser &parser)
{
    parser.addOption({laserOption,
                      QStringLiteral("laser wavelength in nm for files with a wavelength or "
                                     "absolute wavenumber axis that do not name it"),
                      QStringLiteral("NM")});
}

RamanData<Wavenumbers> readSpectrumInput(const QCommandLineParser &parser, const QString &path,
                                         const char *command, QTextStream &err)
{
    double laser = NAN;
    if (parser.isSet(laserOption)) {
        bool ok = false;
        laser = parser.value(laserOption).toDouble(&ok);
        if (!ok || !(laser > 0.0)) {
            err << "raman-cli " << command << ": --laser needs a wavelength in nm\n";
            return {};
        }
    }
    const ImportedSpectrum imported = importSpectrum(path, laser);
    if (!imported.ok()) {
        err << "raman-cli " << command << ": " << QDir::toNativeSeparators(path) << ": "
            << imported.error.section(QStringLiteral(": "), 1) << '\n';
        return {};
    }
    for (const QString &note : imported.notes)
        err << "raman-cli " << command << ": " << QDir::toNativeSeparators(path) << ": " << note
            << '\n';
    return imported.spectrum;
}

int runConvertCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Reads one spectrum (JCAMP-DX, SPC, RRUFF text, CSV/TSV) and writes it in "
                       "the program's text layout: Raman shift, blank, intensity per line."));
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("spectrum file"));
    const QCommandLineOption outputOption(
        QStringList{QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("write to FILE instead of stdout"), QStringLiteral("FILE"));
    parser.addOption(outputOption);
    addSpectrumInputOptions(parser);
    if (const auto done = parseCommandLine(parser, "convert", arguments, 1, 1, "IN", out, err))
        return *done;
    const RamanData<Wavenumbers> spectrum
        = readSpectrumInput(parser, parser.positionalArguments().constFirst(), "convert", err);
    if (spectrum.isEmpty())
        return 1;
    if (!parser.isSet(outputOption)) {
        out << QString::fromLatin1(spectrumText(spectrum));
        return 0;
    }
    const QString path = parser.value(outputOption);
    if (!writeSpectrumText(path, spectrum)) {
        err << "raman-cli convert: cannot write " << QDir::toNativeSeparators(path) << '\n';
        return 1;
    }
    return 0;
}
