#pragma once

#include <QLoggingCategory>

// The program's logging categories; each is created on first use.
Q_DECLARE_LOGGING_CATEGORY(logDataAcquisition)
Q_DECLARE_LOGGING_CATEGORY(logDataAlgorithms)
Q_DECLARE_LOGGING_CATEGORY(logDataIo)
Q_DECLARE_LOGGING_CATEGORY(logDataIoNicePics)
Q_DECLARE_LOGGING_CATEGORY(logDataLibraries)
Q_DECLARE_LOGGING_CATEGORY(logHwCameras)
Q_DECLARE_LOGGING_CATEGORY(logHwGeneral)
Q_DECLARE_LOGGING_CATEGORY(logHwMotors)
Q_DECLARE_LOGGING_CATEGORY(logHwMotorsTmcl)
Q_DECLARE_LOGGING_CATEGORY(logHwState)
Q_DECLARE_LOGGING_CATEGORY(logSystem)
Q_DECLARE_LOGGING_CATEGORY(logUiGeneral)
Q_DECLARE_LOGGING_CATEGORY(logUiOptions)

namespace Logging {
// Debug and info messages trace the program's work and stay off unless asked for, by `verbose`
// or by the environment variable RAMAN_VERBOSE=1. QT_LOGGING_RULES still overrides both.
void configure(bool verbose = false);
// Whether configure() switched debug and info messages on.
bool isVerbose();
} // namespace Logging
