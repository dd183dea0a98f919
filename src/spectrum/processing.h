#pragma once

#include "spectrum/processingparameters.h"
#include "spectrum/ramandata.h"

// The processing pipeline, always in this order: cut, smooth, remove the background, second cut,
// normalise, normalise to the maximum; each only when its step bit is set. A step that cannot work
// on the data logs why and passes the data on unchanged.
template<typename Unit>
RamanData<Unit> processed(const RamanData<Unit> &data, const ProcessingParameters &parameters);

extern template RamanData<RawPixels> processed(const RamanData<RawPixels> &,
                                               const ProcessingParameters &);
extern template RamanData<Nanometers> processed(const RamanData<Nanometers> &,
                                                const ProcessingParameters &);
extern template RamanData<Wavenumbers> processed(const RamanData<Wavenumbers> &,
                                                 const ProcessingParameters &);
