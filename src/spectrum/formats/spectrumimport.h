#pragma once

#include "spectrum/ramandata.h"

#include <QString>
#include <QStringList>

#include <limits>

// One spectrum read from a file the user picked, in any format the program knows (JCAMP-DX,
// Thermo/Galactic SPC, RRUFF text, CSV/TSV), with what the file says about itself.
struct ImportedSpectrum
{
    RamanData<Wavenumbers> spectrum; // ascending Raman shift; empty whenever error is set
    QString format;                  // "JCAMP-DX", "SPC", "RRUFF", "CSV"
    QString title;
    double laserWavelength = std::numeric_limits<double>::quiet_NaN(); // nm, NaN when unknown
    QString xUnit;     // the x unit as the file declares it
    QStringList notes; // translated remarks on parts of the file that were not read
    QString error;     // translated, names the file and the problem; empty on success

    bool ok() const { return error.isEmpty(); }
};

// Reads the file at `path`, choosing the reader by content. Wavelength and absolute wavenumber axes
// are converted to Raman shift with the file's laser wavelength, else with `laserWavelength` (nm);
// without either such a file is refused. Never returns a partly read spectrum.
ImportedSpectrum importSpectrum(const QString &path,
                                double laserWavelength = std::numeric_limits<double>::quiet_NaN());

// The same for bytes already in memory; `name` stands for the file in messages.
ImportedSpectrum importSpectrumData(const QByteArray &content, const QString &name,
                                    double laserWavelength
                                    = std::numeric_limits<double>::quiet_NaN());

// The name filter of a file dialog that picks a spectrum file for importSpectrum (translated).
QString spectrumFileFilter();
