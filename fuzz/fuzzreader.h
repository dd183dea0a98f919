#pragma once
// One reader's raw result and the whole import of the same bytes: both must stay consistent.
#include "fuzzcommon.h"

#include "spectrum/formats/formatreaders.h"
#include "spectrum/formats/spectrumimport.h"

#include <algorithm>

namespace Fuzz {

inline int readerInput(const uint8_t *data, size_t size, RawSpectrum (*read)(const QByteArray &))
{
    environment();
    const QByteArray content = bytes(data, size);
    const RawSpectrum raw = read(content);
    check(!raw.problem.isEmpty() || raw.x.size() == raw.y.size(), "x and y pair up");
    const ImportedSpectrum imported = importSpectrumData(content, QStringLiteral("fuzz"));
    const QVector<double> &x = imported.spectrum.x;
    check(imported.ok() ? std::is_sorted(x.cbegin(), x.cend()) : x.isEmpty(),
          "a spectrum is whole and ascending or not there");
    return 0;
}

} // namespace Fuzz
