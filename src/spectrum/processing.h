#pragma once

#include "spectrum/processingparameters.h"
#include "spectrum/ramandata.h"

#include "spectrum/goldindec.h"

// The processing pipeline, always in this order: cut, smooth, remove the background, second cut,
// normalise, normalise to the maximum; each only when its step bit is set. A step that cannot work
// on the data logs why and passes the data on unchanged. `curves`, when given, receives the curves
// of a Goldindec background fit.
template<typename Unit>
RamanData<Unit> processed(const RamanData<Unit> &data, const ProcessingParameters &parameters,
                          GoldindecCurves *curves = nullptr);

extern template RamanData<RawPixels> processed(const RamanData<RawPixels> &,
                                               const ProcessingParameters &, GoldindecCurves *);
extern template RamanData<Nanometers> processed(const RamanData<Nanometers> &,
                                                const ProcessingParameters &, GoldindecCurves *);
extern template RamanData<Wavenumbers> processed(const RamanData<Wavenumbers> &,
                                                 const ProcessingParameters &, GoldindecCurves *);
