// A measuring point's calibration_lines.txt.
#include "fuzzcommon.h"

#include "spectrum/calibrationlines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::freshFolder() + QStringLiteral("/calibration_lines.txt");
    if (!Fuzz::write(path, data, size))
        return 0;
    const CalibrationLines lines = loadCalibrationLines(path);
    Fuzz::check(lines.pixels.size() == lines.wavelengths.size(), "lines come in pairs");
    calibrationLinesText(lines);
    return 0;
}
