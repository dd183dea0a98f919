#pragma once

#include "library/matching/fingerprint.h"

// The scale of widths set by the analysis' peak-width control: ((slider + 51) / 50)^2, or 1 when
// that is not in (0, 5]; slider -1 gives 1.
double fingerprintWidthScale(int sliderValue);
// Widths (check, fit, maximum) times the scale, the candidate noise factor divided by it.
FingerprintParameters scaledForPeakWidth(FingerprintParameters parameters, double widthScale);
