#pragma once

#include "spectrum/ramandata.h"

#include <QTextStream>

class QCommandLineParser;

// The spectrum file a command reads, in any format the program imports: --laser NM for files
// with a wavelength or absolute wavenumber axis that do not name their laser.
void addSpectrumInputOptions(QCommandLineParser &parser);

// Reads `path`; on failure an empty record after "raman-cli COMMAND: <problem>" on `err`.
// Remarks on parts of the file that were not read go to `err` as well.
RamanData<Wavenumbers> readSpectrumInput(const QCommandLineParser &parser, const QString &path,
                                         const char *command, QTextStream &err);

// raman-cli convert IN [-o OUT] [--laser NM]: the spectrum in the program's text layout.
int runConvertCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
