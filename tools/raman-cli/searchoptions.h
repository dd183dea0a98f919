#pragma once

#include "library/matching/fingerprint.h"
#include "spectrum/processingparameters.h"
#include "spectrum/ramandata.h"

#include <QCommandLineOption>
#include <QTextStream>

#include <optional>

class QCommandLineParser;
class RLibrary;

// The options that `identify` and `mixture` share: library folders, number of results, the
// peak-width control and the processing options of `process`, with a fresh analysis' defaults.
class SearchOptions
{
public:
    explicit SearchOptions(QCommandLineParser &parser);

    // Reads the values; the exit code 2 (after a message) when one is malformed.
    std::optional<int> read(const QCommandLineParser &parser, const char *command,
                            QTextStream &err);

    // Loads the library from the --library folders, or the configured ones without any; false
    // (after a message on `err`) when it holds no spectra.
    bool loadLibrary(const QCommandLineParser &parser, RLibrary &library, const char *command,
                     QTextStream &err) const;
    // A spectrum file of any known format, re-binned when --rebin asks for it; empty (after a
    // message on `err`) when unreadable.
    RamanData<Wavenumbers> loadSpectrum(const QCommandLineParser &parser, const QString &path,
                                        const char *command, QTextStream &err) const;

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
