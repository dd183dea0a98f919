#pragma once

#include "spectrum/processingparameters.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

// raman-cli process IN [-o OUT] [--rebin STEP] [--cut MIN:MAX] [--smooth ORDER:WIDTH]
//   [--background goldindec[:REDUCTION] | splines[:POINTS[:dynamic]] | manual:X1,X2,...]
//   [--cut2 MIN:MAX] [--normalize unit|max] [--baseline-out FILE]
int runProcessCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);

// The processing options shared by the commands that process a spectrum first.
void addProcessingOptions(QCommandLineParser &parser);

// Applies the options to *parameters (the caller's defaults); false with a message in *error for
// malformed values.
// The re-binning step (0 for none) goes to *rebinStep.
bool processingParametersFromOptions(const QCommandLineParser &parser,
                                     ProcessingParameters *parameters, double *rebinStep,
                                     QString *error);
