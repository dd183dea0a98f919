#pragma once

#include <QMetaType>
#include <QVector>

// Bits of ProcessingParameters::steps. 1 and 32 are unused and stay free.
enum ProcessingStep : quint32 {
    SubtractBackground = 2,
    Smooth = 4,
    Normalize = 8,
    Cut = 16,
    NormalizeToMaximum = 64,
    CutAfterBackground = 128,
};

// Everything the processing pipeline needs to know; the defaults are those a fresh analysis starts
// with.
struct ProcessingParameters
{
    quint32 smoothingOrder = 2;
    quint32 smoothingWidth = 5; // points, odd
    quint32 goldindecReduction = 4;
    quint32 splineSupportPoints = 8;
    bool dynamic = false;
    QVector<double> controlPoints; // x positions of a manual spline, 1/cm
    quint32 steps = 0;             // ProcessingStep bits
    bool useGoldindec = true;
    double cutMinimum = 0.0;
    double cutMaximum = 0.0;
    double secondCutMinimum = 0.0;
    double secondCutMaximum = 0.0;

    bool has(ProcessingStep step) const { return (steps & step) != 0; }
};

Q_DECLARE_METATYPE(ProcessingParameters)

// What a fresh analysis starts with: cut 60 to 4000 1/cm, no smoothing, a dynamic spline
// background with 8 support points.
inline ProcessingParameters analysisStartParameters()
{
    ProcessingParameters p;
    p.steps = Cut | SubtractBackground;
    p.cutMinimum = 60;
    p.cutMaximum = 4000;
    p.useGoldindec = false;
    p.splineSupportPoints = 8;
    p.dynamic = true;
    return p;
}
