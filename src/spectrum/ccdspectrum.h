#pragma once

#include "spectrum/ramandata.h"

#include <QFuture>
#include <QSize>
#include <QVector>

// Sums each column of a camera frame (row after row, width * height values) into one point of a
// pixel spectrum, leaving out the column's largest value and any further hot pixels above twice
// the column's reference level. The last column is not used: width - 1 points, each divided by
// 10000. A frame with fewer values than its size says gives an empty spectrum and a warning.
RamanData<RawPixels> computeSpectrumFromCCD(const QSize &frameSize, const QVector<quint16> &pixels);

// The same on a thread of the global pool; the frame is shared, not copied.
QFuture<RamanData<RawPixels>> computeSpectrumFromCCDAsync(const QSize &frameSize,
                                                          const QVector<quint16> &pixels);
