#pragma once

#include <QVector>

// Savitzky-Golay smoothing: each value becomes the centre value of the least-squares polynomial of
// the given order through the window of `points` values around it. The edges are extended with the
// end values. Invalid parameters return the input unchanged.
QVector<double> savitzkyGolaySmoothed(const QVector<double> &values, unsigned order,
                                      unsigned points, double spacing);

// The window weights for the centre value, computed once per thread and parameter triple.
const QVector<double> &savitzkyGolayCoefficients(unsigned order, unsigned points, double spacing);
