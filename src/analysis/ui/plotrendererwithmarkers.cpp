#include "analysis/ui/plotrendererwithmarkers.h"

#include "analysis/ui/spectrumlinemarker.h"

#include <qwt_plot.h>
#include <qwt_scale_map.h>

#include <QPainter>

#include <algorithm>

PlotRendererWithMarkers::PlotRendererWithMarkers(const QVector<SpectrumLineMarker *> &markers)
    : m_markers(markers)
{}

void PlotRendererWithMarkers::renderCanvas(const QwtPlot *plot, QPainter *painter,
                                           const QRectF &canvasRect, const QwtScaleMap *maps) const
{
    QwtPlotRenderer::renderCanvas(plot, painter, canvasRect, maps);
    for (const SpectrumLineMarker *marker : m_markers) {
        painter->save();
        painter->setClipRect(canvasRect);
        QFont font = painter->font();
        // 1.5 mm at the device's resolution.
        font.setPixelSize(std::max(int(painter->device()->logicalDpiX() / 25.4 * 1.5), 1));
        painter->setFont(font);
        marker->paintMarker(painter, &maps[QwtPlot::xBottom], &maps[QwtPlot::yLeft]);
        painter->restore();
    }
}

QImage renderPlotImage(const QwtPlot *plot, const QVector<SpectrumLineMarker *> &markers)
{
    QImage image(2048, 1152, QImage::Format_RGB16);
    image.setDotsPerMeterX(8000);
    image.setDotsPerMeterY(8000);
    image.fill(Qt::white);
    PlotRendererWithMarkers renderer(markers);
    renderer.renderTo(const_cast<QwtPlot *>(plot), image);
    return image;
}
