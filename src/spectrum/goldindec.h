#pragma once

#include <QVector>

enum GoldindecMode : unsigned {
    GoldindecReturnBaseline = 1, // the fitted background instead of the corrected signal
    // Intermediate curves as text files into the per-user cache folder's "goldindec", when the
    // user asked for them (RAMAN_GOLDINDEC_CURVES=1 or the setting
    // Processing/WriteGoldindecCurves).
    GoldindecWriteDiagnostics = 2,
};

// Background removal by Goldindec: an order-8 polynomial under an asymmetric truncated quadratic
// cost, whose threshold is searched until a fixed share of the points lies above the baseline.
// `reduction` n fits the background on every n-th point only and interpolates it back. At most the
// first 5000 (reduced) points are fitted; the background of any points beyond holds its last value.
// Refusals (mismatched sizes, too few points, non-finite values, reduction 0) log a warning and
// leave y unchanged, i.e. a zero background.
QVector<double> goldindecBaseline(const QVector<double> &x, const QVector<double> &y,
                                  unsigned reduction, unsigned mode);
