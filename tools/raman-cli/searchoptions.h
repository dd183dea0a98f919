#pragma once

#include "core/librarypath.h"
#include "library/identify/search.h"
#include "library/matching/fingerprint.h"
#include "spectrum/processingparameters.h"
#include "spectrum/ramandata.h"

#include <QCommandLineOption>
#include <QTextStream>

#include <memory>
#include <optional>

class QCommandLineParser;
class ReferenceLibrary;

// The options that `identify` and `mixture` share: library folders, number of results, the
// peak-width control and the processing options of `process`, with a fresh analysis' defaults.
class SearchOptions
{
public:
    explicit SearchOptions(QCommandLineParser &parser);

    // Reads the values; the exit code 2 (after a message) when one is malformed.
    std::optional<int> read(const QCommandLineParser &parser, const char *command,
                            QTextStream &err);

    // Loads the library from the --library folders, or the configured ones without any; null
    // (after a message on `err`) when it holds no spectra. `folders` receives the folders.
    std::shared_ptr<const ReferenceLibrary>
    loadLibrary(const QCommandLineParser &parser, const char *command, QTextStream &err,
                QVector<LibraryPath> *folders = nullptr) const;
    // A spectrum file of any known format, re-binned when --rebin asks for it; empty (after a
    // message on `err`) when unreadable.
    RamanData<Wavenumbers> loadSpectrum(const QCommandLineParser &parser, const QString &path,
                                        const char *command, QTextStream &err) const;

    // The search method `name` (a --method value) names among those a command offers; none
    // (after a message on `err`) when it names another.
    static std::optional<SearchMethod> searchMethod(const QString &name,
                                                    const QVector<SearchMethod> &offered,
                                                    const char *command, QTextStream &err);
    // The --method name of a search method.
    static const char *methodName(SearchMethod method);
    // The parameters of a search with these values.
    SearchParameters searchParameters() const;

    // The --rebin step, 0 without it.
    double rebinStep() const { return m_rebinStep; }

    int top = 10;
    FingerprintParameters fingerprint;
    ProcessingParameters processing = analysisStartParameters();

private:
    QCommandLineOption m_library;
    QCommandLineOption m_top;
    QCommandLineOption m_sensitivity;
    double m_rebinStep = 0.0;
};
