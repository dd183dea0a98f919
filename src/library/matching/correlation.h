#pragma once

#include "spectrum/ramandata.h"

// Cosine similarity times 10 over the common range of two spectra on the same grid.
double correlateSpectra(const RamanData<Wavenumbers> &a, const RamanData<Wavenumbers> &b);
