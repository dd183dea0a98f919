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
        quint64 sum = 0;
        for (int r = 0; r < height; ++r) {
            column[size_t(r)] = pixels[width * r + c];
            sum += column[size_t(r)];
        }
        // Only the reference and the values above it need their sorted places.
        const auto reference = column.begin() + (height - m);
        std::nth_element(column.begin(), reference, column.end());
        std::sort(reference, column.end());
        const int threshold = 2 * int(*reference);
        // The largest value always goes; each further one above the threshold goes with it.
        int k = 1;
        while (k < m && column[size_t(height - k)] > threshold)
            ++k;
        for (int i = 1; i <= k; ++i)
            sum -= column[size_t(height - i)];
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
