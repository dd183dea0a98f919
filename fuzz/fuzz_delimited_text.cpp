// CSV/TSV text through its reader and the checks every imported spectrum passes.
#include "fuzzcommon.h"

#include "spectrum/formats/formatreaders.h"
#include "spectrum/formats/spectrumimport.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::environment();
    const QByteArray content = Fuzz::bytes(data, size);
    const RawSpectrum raw = readDelimitedText(content);
    Fuzz::check(!raw.problem.isEmpty() || raw.x.size() == raw.y.size(), "x and y pair up");
    const ImportedSpectrum imported = importSpectrumData(content, QStringLiteral("fuzz"));
    const QVector<double> &x = imported.spectrum.x;
    Fuzz::check(imported.ok() ? std::is_sorted(x.cbegin(), x.cend()) : x.isEmpty(),
                "a spectrum is whole and ascending or not there");
    return 0;
}
