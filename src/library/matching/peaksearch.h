#pragma once

#include "library/matching/fingerprint.h"
#include "spectrum/ramandata.h"

// First quartile of the windowed standard deviations; NaN when no window has any spread.
double estimateNoise(const QVector<double> &y);

// The fingerprint of a spectrum normalised to maximum 1 on a uniform grid. An empty or
// non-normalised spectrum gives an invalid fingerprint (and a warning).
SpectrumFingerprint buildFingerprint(const RamanData<Wavenumbers> &spectrum,
                                     const FingerprintParameters &parameters);
