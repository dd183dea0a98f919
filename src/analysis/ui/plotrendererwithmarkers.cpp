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
    QFont font = painter->font();
    // 1.5 mm at the device's resolution.
    font.setPixelSize(std::max(int(painter->device()->logicalDpiX() / 25.4 * 1.5), 1));
    const QVector<double> shifts = arrangedLabelShifts(
        m_markers, maps[QwtPlot::xBottom], maps[QwtPlot::yLeft], font, canvasRect.bottom());
    for (int i = 0; i < m_markers.size(); ++i) {
        painter->save();
        painter->setClipRect(canvasRect);
        painter->setFont(font);
        m_markers[i]->paintMarker(painter, &maps[QwtPlot::xBottom], &maps[QwtPlot::yLeft],
                                  shifts[i]);
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
