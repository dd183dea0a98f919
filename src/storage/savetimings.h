#pragma once

#include <QtGlobal>

// Where the time of one save went, in nanoseconds; filled by SaveData::save when asked for.
struct SaveTimings
{
    qint64 encoding = 0;  // pictures, spectra, CCD frames and summary pages, on all cores
    qint64 writing = 0;   // the new version beside the old, unchanged files copied, synced
    qint64 verifying = 0; // reading the new version back
    qint64 backup = 0;    // the old version into the backup area, and the swap
};
