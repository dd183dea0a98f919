#pragma once

#include <QtGlobal>

// Where the time of one save went, in nanoseconds; filled by SaveData::save when asked for.
struct SaveTimings
{
    qint64 encoding = 0;  // pictures, spectra, CCD frames and summary pages, on all cores
    qint64 backup = 0;    // waiting for the old version to reach the backup area and for the
                          // unchanged files to be taken over, beyond the time of encoding
    qint64 writing = 0;   // the made files written beside the old version, synced
    qint64 verifying = 0; // reading the new version back
    qint64 swap = 0;      // the new version into place
};
