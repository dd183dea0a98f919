#pragma once

// Tests and benchmarks wait for an analysis here; the program itself reacts to its changes.

#include "analysis/spectrumanalysis.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

// Runs the event loop until the analysis has no request left; false when `timeoutMs` passed.
inline bool waitForAnalysisIdle(const SpectrumAnalysis *analysis, int timeoutMs = 120000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (analysis->isBusy()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return true;
}
