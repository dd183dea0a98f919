#include "library/matching/peakwidth.h"

#include <cmath>

double fingerprintWidthScale(int sliderValue)
{
    const double w = std::pow((sliderValue + 51) / 50.0, 2);
    return w <= 0.0 || w > 5.0 ? 1.0 : w;
}

FingerprintParameters scaledForPeakWidth(FingerprintParameters p, double widthScale)
{
    p.peakNoiseFactor /= widthScale;
    p.checkWidth *= widthScale;
    p.halfFitSize *= widthScale;
    p.maxWidth *= widthScale;
    return p;
}
