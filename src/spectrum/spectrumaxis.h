#pragma once

#include <QString>
#include <QVector>

// Largest |x| of a Raman shift in a file, in 1/cm; beyond it the file is damaged.
constexpr double maximumWavenumber = 1e6;

// Why x cannot be the axis of a spectrum read from a file (a non-finite value, not ascending,
// beyond maximumWavenumber); empty when it can. Readers refuse such spectra.
QString spectrumAxisDefect(const QVector<double> &x);
