#pragma once

#include <qwt_plot_renderer.h>

#include <QImage>
#include <QVector>

class SpectrumLineMarker;

// Renders a plot as usual and draws the given line markers over its canvas.
class PlotRendererWithMarkers : public QwtPlotRenderer
{
public:
    explicit PlotRendererWithMarkers(const QVector<SpectrumLineMarker *> &markers);

    void renderCanvas(const QwtPlot *plot, QPainter *painter, const QRectF &canvasRect,
                      const QwtScaleMap *maps) const override;

private:
    QVector<SpectrumLineMarker *> m_markers;
};

// The plot with its markers as a 2048 x 1152 picture (16-bit RGB, 8000 dots per metre).
QImage renderPlotImage(const QwtPlot *plot, const QVector<SpectrumLineMarker *> &markers);
