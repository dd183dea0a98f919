#pragma once

// What the library loader does with every spectrum it accepts.

#include "fuzzcommon.h"

#include "library/matching/fingerprint.h"
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
    check(!resampled.isEmpty(), "accepted spectrum can be re-binned");
    const FingerprintParameters parameters = FingerprintParameters::librarySet();
    const SpectrumFingerprint fingerprint
        = buildFingerprint(resampled.normalizedToMaximum(), parameters);
    matchFingerprints(fingerprint, fingerprint, parameters);
}

} // namespace Fuzz
