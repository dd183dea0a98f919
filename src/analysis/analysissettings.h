#pragma once

#include "analysis/analysisfunctions.h"
#include "analysis/spectrumanalysis.h"

#include <QJsonObject>
#include <QVector>

// The choices of an analysis that outlive it: stored with a point's identification, so that
// reopening it shows how it was found, and kept per user as the start of the next analysis.
struct AnalysisSettings
{
    ProcessingControls controls;
    bool identify = true;
    int searchMethod = SearchSettings::PeakDetection;
    int sensitivity = -1;
    bool limitToVisible = false;
    bool ignoreOtherLines = false;
    QVector<double> controlPoints; // of the manual spline background
    QVector<PeakLine> manualLines; // of the manual line search

    bool operator==(const AnalysisSettings &o) const;
    bool operator!=(const AnalysisSettings &o) const { return !(*this == o); }
};

QJsonObject analysisSettingsToJson(const AnalysisSettings &settings);
// A value that is missing takes the one of `fallback`; so does, with a warning, a value of the
// wrong type, out of the controls' range or naming a method this program does not know.
AnalysisSettings analysisSettingsFromJson(const QJsonObject &json,
                                          const AnalysisSettings &fallback);

// The settings of the user's last analysis, without its lines and control points; the defaults
// before the first one.
AnalysisSettings lastAnalysisSettings();
void rememberAnalysisSettings(AnalysisSettings settings);

// What an analysis opens with: the settings stored with the point, else the user's last ones.
AnalysisSettings startingAnalysisSettings(const QJsonObject &stored);
