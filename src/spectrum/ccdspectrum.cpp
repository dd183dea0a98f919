#include "spectrum/ccdspectrum.h"

#include "core/logging.h"

#include <QtConcurrent>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Most values a column may lose as hot pixels.
constexpr int maximumDiscarded = 20;

} // namespace

RamanData<RawPixels> computeSpectrumFromCCD(const QSize &frameSize, const QVector<quint16> &pixels)
{
    qCDebug(logDataAlgorithms) << "computing spectrum from CCD";
    const int width = frameSize.width();
    const int height = frameSize.height();
    if (width <= 0 || height <= 0 || qint64(width) * height > pixels.size()) {
        qCWarning(logDataAlgorithms)
            << "CCD frame of" << width << "x" << height << "needs more than" << pixels.size()
            << "pixel values, no spectrum";
        return {};
    }

    const int m = std::min(height, maximumDiscarded);
    RamanData<RawPixels> spectrum;
    spectrum.x.reserve(width - 1);
    spectrum.y.reserve(width - 1);
    std::vector<quint16> column(static_cast<size_t>(height));
    int fewest = INT_MAX;
    int most = 0;
    qint64 total = 0;
    for (int c = 0; c + 1 < width; ++c) {
        for (int r = 0; r < height; ++r)
            column[size_t(r)] = pixels[width * r + c];
        std::sort(column.begin(), column.end());
        const int threshold = 2 * int(column[size_t(std::max(height - m, 0))]);
        // The largest value always goes; each further one above the threshold goes with it.
        int k = 1;
        while (k<m &&int(column[size_t(height - k)])> threshold)
            ++k;
        quint64 sum = 0;
        for (int i = 0; i < height - k; ++i)
            sum += column[size_t(i)];
        spectrum.x.append(c);
        spectrum.y.append(double(sum));
        fewest = std::min(fewest, k);
        most = std::max(most, k);
        total += k;
    }
    for (double &value : spectrum.y)
        value /= 10000.0;
    if (spectrum.x.isEmpty())
        fewest = 0;
    qCDebug(logDataAlgorithms) << "hotpixel removal stats: min" << fewest << "max" << most
                               << "total" << total << "average per line" << double(total) / width;
    return spectrum;
}

QFuture<RamanData<RawPixels>> computeSpectrumFromCCDAsync(const QSize &frameSize,
                                                          const QVector<quint16> &pixels)
{
    return QtConcurrent::run(&computeSpectrumFromCCD, frameSize, pixels);
}
