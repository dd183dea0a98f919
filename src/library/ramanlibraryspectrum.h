#pragma once

#include "library/spectrumname.h"
#include "spectrum/ramandata.h"

// One reference spectrum of the library.
struct RamanLibrarySpectrum
{
    RamanData<Wavenumbers> data;
    rruff_infos info;

    bool isEmpty() const { return data.x.isEmpty() || data.y.isEmpty(); }
    // Only the points count; NaN never equals anything.
    bool operator==(const RamanLibrarySpectrum &o) const { return data == o.data; }
};

// The grid on which library spectra and measured spectra are compared.
constexpr double librarySearchStep = 1.25;
