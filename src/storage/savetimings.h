#pragma once

#include <QtGlobal>

// Where the time of one save went, in nanoseconds; filled by SaveData::save when asked for.
struct SaveTimings
{
    qint64 backup = 0;    // moving the old folder aside
    qint64 pictures = 0;  // JPEG and PNG files
    qint64 textFiles = 0; // spectra, CCD raw data, calibration lines
    qint64 summaries = 0; // summary.pdf pages
    qint64 json = 0;      // metadata.json
};
