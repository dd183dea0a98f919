#include "searchoptions.h"

#include "processcommand.h"
#include "spectruminput.h"

#include "library/libraryloader.h"
#include "library/matching/peakwidth.h"

#include <QCommandLineParser>
#include <QDir>

SearchOptions::SearchOptions(QCommandLineParser &parser)
    : m_library(QStringLiteral("library"),
                QStringLiteral("library folder (repeatable); default: the configured folders"),
                QStringLiteral("DIR"))
    , m_top(QStringLiteral("top"), QStringLiteral("results to print"), QStringLiteral("N"),
            QStringLiteral("10"))
    , m_sensitivity(QStringLiteral("sensitivity"),
                    QStringLiteral("peak-width control of the analysis, -51..60; -1 leaves "
                                   "widths as they are"),
                    QStringLiteral("S"), QStringLiteral("-1"))
{
    parser.addOptions({m_library, m_top, m_sensitivity});
    addProcessingOptions(parser);
    addSpectrumInputOptions(parser);
}

std::optional<int> SearchOptions::read(const QCommandLineParser &parser, const char *command,
                                       QTextStream &err)
{
    const QString program = QStringLiteral("raman-cli ") + QLatin1String(command);
    bool ok = false;
    top = parser.value(m_top).toInt(&ok);
    if (!ok || top < 1) {
        err << program << ": --top needs a positive number\n";
        return 2;
    }
    const int sensitivity = parser.value(m_sensitivity).toInt(&ok);
    if (!ok) {
        err << program << ": --sensitivity needs a whole number\n";
        return 2;
    }
    fingerprint = scaledForPeakWidth(FingerprintParameters(), fingerprintWidthScale(sensitivity));
    QString error;
    if (!processingParametersFromOptions(parser, &processing, &m_rebinStep, &error)) {
        err << program << ": " << error << '\n';
        return 2;
    }
    return std::nullopt;
}

std::shared_ptr<const ReferenceLibrary>
SearchOptions::loadLibrary(const QCommandLineParser &parser, const char *command, QTextStream &err,
                           QVector<LibraryPath> *folders) const
{
    LibraryLoader loader;
    if (parser.isSet(m_library)) {
        QVector<LibraryPath> given;
        for (const QString &folder : parser.values(m_library)) {
            LibraryPath path;
            path.path = QDir::cleanPath(folder);
            given.append(path);
        }
        loader.setLibraryFolders(given);
    }
    if (folders)
        *folders = loader.libraryFolders();
    loader.loadNow();
    if (loader.library()->count() > 0)
        return loader.library();
    err << "raman-cli " << command << ": the library holds no spectra\n";
    return nullptr;
}

namespace {

const std::pair<const char *, SearchMethod> methodNames[]
    = {{"mineral", SearchMethod::Mineral},
       {"fingerprint", SearchMethod::Fingerprint},
       {"correlation", SearchMethod::Correlation},
       {"auto", SearchMethod::Automatic},
       {"pairs", SearchMethod::Pairs},
       {"fit", SearchMethod::MixtureFit}};

} // namespace

const char *SearchOptions::methodName(SearchMethod method)
{
    for (const auto &[text, named] : methodNames) {
        if (named == method)
            return text;
    }
    return "";
}

std::optional<SearchMethod> SearchOptions::searchMethod(const QString &name,
                                                        const QVector<SearchMethod> &offered,
                                                        const char *command, QTextStream &err)
{
    QStringList known;
    for (const auto &[text, method] : methodNames) {
        if (!offered.contains(method))
            continue;
        if (name == QLatin1String(text))
            return method;
        known.append(QLatin1String(text));
    }
    err << "raman-cli " << command << ": unknown --method '" << name << "' ("
        << known.join(QStringLiteral(", ")) << ")\n";
    return std::nullopt;
}

SearchParameters SearchOptions::searchParameters() const
{
    SearchParameters parameters;
    parameters.fingerprint = fingerprint;
    parameters.results = top;
    return parameters;
}

RamanData<Wavenumbers> SearchOptions::loadSpectrum(const QCommandLineParser &parser,
                                                   const QString &path, const char *command,
                                                   QTextStream &err) const
{
    const RamanData<Wavenumbers> spectrum = readSpectrumInput(parser, path, command, err);
    return m_rebinStep > 0.0 ? spectrum.resampled(m_rebinStep) : spectrum;
}
