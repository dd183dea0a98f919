#include "core/logging.h"

Q_LOGGING_CATEGORY(logDataAcquisition, "data.acquisition")
Q_LOGGING_CATEGORY(logDataAlgorithms, "data.algorithms")
Q_LOGGING_CATEGORY(logDataIo, "data.io")
Q_LOGGING_CATEGORY(logDataIoNicePics, "data.io.nicepics")
Q_LOGGING_CATEGORY(logDataLibraries, "data.libraries")
Q_LOGGING_CATEGORY(logHwCameras, "hw.cameras")
Q_LOGGING_CATEGORY(logHwGeneral, "hw.general")
Q_LOGGING_CATEGORY(logHwMotors, "hw.motors")
// The motor card driver is chatty; only its warnings are of interest by default.
Q_LOGGING_CATEGORY(logHwMotorsTmcl, "hw.motors.tmcl", QtWarningMsg)
Q_LOGGING_CATEGORY(logHwState, "hw.state")
Q_LOGGING_CATEGORY(logSystem, "system")
Q_LOGGING_CATEGORY(logUiGeneral, "ui.general")
Q_LOGGING_CATEGORY(logUiOptions, "ui.options")

namespace {
bool verboseLogging = false;
}

void Logging::configure(bool verbose)
{
    verboseLogging = verbose || qEnvironmentVariableIntValue("RAMAN_VERBOSE") != 0;
    QLoggingCategory::setFilterRules(
        verboseLogging ? QString() : QStringLiteral("*.debug=false\n*.info=false"));
}

bool Logging::isVerbose()
{
    return verboseLogging;
}
