#pragma once

#include "spectrum/processingparameters.h"
#include "spectrum/ramandata.h"

struct GoldindecCurves;

// A measured spectrum made ready once for every search: re-binned onto the search grid and
// processed, without normalisation (each search scales it as it needs, the analysis draws it
// scaled as the user chose). The spectrum searched is the one drawn.
struct SearchQuery
{
    RamanData<Wavenumbers> measured;  // as given, before re-binning
    RamanData<Wavenumbers> processed; // on the search grid, processed, not normalised

    static SearchQuery fromSpectrum(const RamanData<Wavenumbers> &spectrum,
                                    const ProcessingParameters &processing,
                                    GoldindecCurves *curves = nullptr);
    // The processing without its normalisation steps.
    static ProcessingParameters unnormalized(ProcessingParameters processing);
    // `processed` scaled as `processing` asks for.
    RamanData<Wavenumbers> normalizedAs(const ProcessingParameters &processing) const;
};
