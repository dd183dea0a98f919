#pragma once

#include <QVector>

struct QuadraticCoefficients
{
    double a = 0.0; // of x^2
    double b = 0.0;
    double c = 0.0;
};

// Least-squares y ~ a*x^2 + b*x + c by Cramer's rule; a singular system gives non-finite values.
QuadraticCoefficients fitQuadratic(const QVector<double> &x, const QVector<double> &y);
