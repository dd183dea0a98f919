#include "spectrum/processing.h"

#include "spectrum/splinebaseline.h"

template<typename Unit>
RamanData<Unit> processed(const RamanData<Unit> &data, const ProcessingParameters &parameters,
                          GoldindecCurves *curves)
{
    RamanData<Unit> result = data;
    if (result.x.isEmpty() || result.y.isEmpty())
        return result;
    if (parameters.has(Cut))
        result.cut(parameters.cutMinimum, parameters.cutMaximum);
    if (parameters.has(Smooth))
        result = result.smoothed(parameters.smoothingOrder, parameters.smoothingWidth);
    if (parameters.has(SubtractBackground)) {
        if (parameters.useGoldindec)
            result.y
                = goldindecBaseline(result.x, result.y, parameters.goldindecReduction, 0, curves);
        else if (!parameters.controlPoints.isEmpty())
            result.y = manualSplineBaseline(result.x, result.y, parameters.controlPoints);
        else
            result.y = splineBaseline(result.x, result.y, parameters.splineSupportPoints,
                                      parameters.dynamic);
    }
    if (parameters.has(CutAfterBackground))
        result.cut(parameters.secondCutMinimum, parameters.secondCutMaximum);
    if (parameters.has(Normalize))
        result = result.normalized();
    if (parameters.has(NormalizeToMaximum))
        result = result.normalizedToMaximum();
    return result;
}

template RamanData<RawPixels> processed(const RamanData<RawPixels> &, const ProcessingParameters &,
                                        GoldindecCurves *);
template RamanData<Nanometers> processed(const RamanData<Nanometers> &,
                                         const ProcessingParameters &, GoldindecCurves *);
template RamanData<Wavenumbers> processed(const RamanData<Wavenumbers> &,
                                          const ProcessingParameters &, GoldindecCurves *);
