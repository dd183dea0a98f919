#pragma once

#include <QVector>

enum GoldindecMode : unsigned {
    GoldindecReturnBaseline = 1, // the fitted background instead of the corrected signal
};

// The curves of one fit, for whoever tunes the method: the fitted points (reduced, at most the
// first 5000), their baseline, and both in the coordinates the fit works in (-1 to 1).
struct GoldindecCurves
{
    QVector<double> x;
    QVector<double> y;
    QVector<double> baseline;
    QVector<double> rescaledX;
    QVector<double> rescaledBaseline;
};

// Background removal by Goldindec: an order-8 polynomial under an asymmetric truncated quadratic
// cost, whose threshold is searched until a fixed share of the points lies above the baseline.
// `reduction` n fits the background on every n-th point only and interpolates it back. At most the
// first 5000 (reduced) points are fitted; the background of any points beyond holds its last value.
// Refusals (mismatched sizes, too few points, non-finite values, reduction 0) log a warning and
// leave y unchanged, i.e. a zero background.
// `curves`, when given, receives the curves of the fit (empty when there was none).
QVector<double> goldindecBaseline(const QVector<double> &x, const QVector<double> &y,
                                  unsigned reduction, unsigned mode,
                                  GoldindecCurves *curves = nullptr);
