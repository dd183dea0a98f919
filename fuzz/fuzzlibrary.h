#pragma once

// What the library loader does with every spectrum it accepts.

#include "fuzzcommon.h"

#include "library/matching/fingerprint.h"
#include "library/matching/fingerprintmatcher.h"
#include "library/matching/peaksearch.h"
#include "library/ramanlibraryspectrum.h"
#include "spectrum/spectrumaxis.h"
#include "spectrum/spectrumfile.h"

namespace Fuzz {

// An accepted spectrum is fit for the numerics: re-binned, normalised, fingerprinted and matched.
inline void prepareAsLibrary(const RamanData<Wavenumbers> &data)
{
    if (data.isEmpty())
        return;
    check(data.size() > 0 && spectrumAxisDefect(data.x).isEmpty(), "accepted spectrum is valid");
    const RamanData<Wavenumbers> resampled = data.resampled(librarySearchStep);
    // Points that all fall into one bin give none; anything else gives one per bin at most.
    check(resampled.size() <= (data.x.last() - data.x.first()) / librarySearchStep + 2,
          "re-binning gives at most one point per bin");
    const FingerprintParameters parameters = FingerprintParameters::librarySet();
    const SpectrumFingerprint fingerprint
        = buildFingerprint(resampled.normalizedToMaximum(), parameters);
    matchFingerprints(fingerprint, fingerprint, parameters);
}

} // namespace Fuzz
