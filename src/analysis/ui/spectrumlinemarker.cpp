#include "analysis/ui/spectrumlinemarker.h"

#include "analysis/analysisfunctions.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_map.h>

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QwtPlotCurve *firstCurve(const QwtPlot *plot)
{
    const QwtPlotItemList curves = plot->itemList(QwtPlotItem::Rtti_PlotCurve);
    return curves.isEmpty() ? nullptr : static_cast<const QwtPlotCurve *>(curves.first());
}

void curveSamples(const QwtPlot *plot, QVector<double> &x, QVector<double> &y)
{
    const QwtPlotCurve *curve = firstCurve(plot);
    if (!curve)
        return;
    const size_t n = curve->dataSize();
    x.resize(int(n));
    y.resize(int(n));
    for (size_t i = 0; i < n; ++i) {
        const QPointF p = curve->sample(i);
        x[int(i)] = p.x();
        y[int(i)] = p.y();
    }
}

} // namespace

SpectrumLineMarker::SpectrumLineMarker(QwtPlot *plot, LineRenderMode renderMode)
    : QwtWidgetOverlay(plot->canvas())
    , m_snappedY(std::numeric_limits<double>::quiet_NaN())
    , m_snappedX(std::numeric_limits<double>::quiet_NaN())
    , m_labelOffset(std::numeric_limits<double>::quiet_NaN())
    , m_plot(plot)
    , m_renderMode(renderMode)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SpectrumLineMarker::setPosition(double x, double y)
{
    m_requestedX = x;
    m_requestedY = y;
    snap();
    updateOverlay();
}

void SpectrumLineMarker::setSnapMode(SnapMode mode)
{
    m_snapMode = mode;
}

void SpectrumLineMarker::snap()
{
    QVector<double> x;
    QVector<double> y;
    curveSamples(m_plot, x, y);
    const QPointF p = snappedPosition(x, y, m_requestedX,
                                      SnapMode(m_snapMode) == SnapToMaximum   ? ::SnapMode::Maximum
                                      : SnapMode(m_snapMode) == SnapToMinimum ? ::SnapMode::Minimum
                                                                              : ::SnapMode::None);
    m_snappedX = p.x();
    m_snappedY = p.y();
    m_text = QString::number(m_snappedX, 'f', 1);
}

double SpectrumLineMarker::relativeAmplitude() const
{
    QVector<double> x;
    QVector<double> y;
    curveSamples(m_plot, x, y);
    return ::relativeAmplitude(m_snappedY, y);
}

void SpectrumLineMarker::reReadY()
{
    QVector<double> x;
    QVector<double> y;
    curveSamples(m_plot, x, y);
    const int i = int(std::lower_bound(x.cbegin(), x.cend(), m_requestedX) - x.cbegin());
    if (i < y.size())
        m_requestedY = y[i];
    snap();
    updateOverlay();
}

void SpectrumLineMarker::setLabelOffset(double pixels)
{
    m_labelOffset = pixels;
    updateOverlay();
}

void SpectrumLineMarker::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    updateOverlay();
}

void SpectrumLineMarker::setPlaced()
{
    m_placed = 1;
    show();
}

QPointF SpectrumLineMarker::canvasPosition() const
{
    const QwtScaleMap xMap = m_plot->canvasMap(QwtPlot::xBottom);
    const QwtScaleMap yMap = m_plot->canvasMap(QwtPlot::yLeft);
    return {xMap.transform(m_snappedX), yMap.transform(m_snappedY)};
}

void SpectrumLineMarker::drawOverlay(QPainter *painter) const
{
    paintMarker(painter);
}

void SpectrumLineMarker::paintMarker(QPainter *painter, const QwtScaleMap *xMap,
                                     const QwtScaleMap *yMap) const
{
    if (!std::isfinite(m_snappedX) || !std::isfinite(m_snappedY))
        return;
    const QwtScaleMap ownX = m_plot->canvasMap(QwtPlot::xBottom);
    const QwtScaleMap ownY = m_plot->canvasMap(QwtPlot::yLeft);
    const QwtScaleMap &mapX = xMap ? *xMap : ownX;
    const QwtScaleMap &mapY = yMap ? *yMap : ownY;
    const QPointF point(mapX.transform(m_snappedX), mapY.transform(m_snappedY));

    QColor colour(m_placed ? QStringLiteral("#777777") : QStringLiteral("#333333"));
    if (m_highlighted)
        colour = QColor(QStringLiteral("#ff0000"));
    painter->setPen(QPen(colour, 1));
    if (m_renderMode == RenderPoint) {
        painter->fillRect(QRectF(point.x() - 2, point.y() - 2, 4, 4), Qt::red);
        return;
    }
    const QRectF area = painter->window();
    const double top = std::min(mapY.p1(), mapY.p2());
    const double bottom = std::max(mapY.p1(), mapY.p2());
    painter->drawLine(QPointF(point.x(), xMap ? top : area.top()),
                      QPointF(point.x(), xMap ? bottom : area.bottom()));

    painter->save();
    const double offset = std::isfinite(m_labelOffset) ? m_labelOffset : 0.0;
    painter->translate(point.x(), point.y() + offset);
    painter->rotate(-90);
    const QFontMetricsF metrics(painter->font());
    QRectF rect = metrics.boundingRect(m_text);
    rect.setLeft(rect.left() - 1);
    rect.moveLeft(rect.left() - metrics.horizontalAdvance(QStringLiteral("MMM")));
    rect.moveTop(-rect.height() * 0.5);
    m_labelRect = rect;
    painter->fillRect(rect.adjusted(-4, -2, 4, 2), Qt::white);
    painter->setPen(Qt::black);
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, m_text);
    painter->restore();
}
