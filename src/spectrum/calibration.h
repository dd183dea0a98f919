#pragma once

#include "spectrum/ramandata.h"

#include <limits>

// wavelength(i) = a*i^2 + b*i + c for pixel index i; all NaN without a calibration.
struct CalibrationParameters
{
    double a = std::numeric_limits<double>::quiet_NaN();
    double b = std::numeric_limits<double>::quiet_NaN();
    double c = std::numeric_limits<double>::quiet_NaN();
};

struct LaserWavelengthSettings
{
    static constexpr quint32 UseNominal = 1;

    quint32 mode = UseNominal;
    double searchMinimum = 0.0;
    double searchMaximum = 0.0;
    double nominalWavelength = 0.0; // also the fallback whenever measuring fails
};

RamanData<Nanometers> calibrated(const RamanData<RawPixels> &data,
                                 const CalibrationParameters &parameters);
double extractLaserWavelength(const RamanData<Nanometers> &data,
                              const LaserWavelengthSettings &settings);
RamanData<Wavenumbers> toRamanShift(const RamanData<Nanometers> &data,
                                    const LaserWavelengthSettings &settings);
