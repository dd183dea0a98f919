#pragma once

#include "spectrum/goldindec.h"

#include <QString>

// Where the Goldindec curves go when the user asked for them (RAMAN_GOLDINDEC_CURVES=1 or the
// setting Processing/WriteGoldindecCurves): the per-user cache folder's "goldindec", created;
// empty when nobody asked or it cannot be created (logged).
QString requestedGoldindecCurvesFolder();

// Writes the curves as baseline.txt, baselineii.txt (rescaled), subbase.txt (corrected) and
// original.txt into `folder`, replacing earlier ones; a file that cannot be written is logged.
void writeGoldindecCurves(const GoldindecCurves &curves, const QString &folder);
