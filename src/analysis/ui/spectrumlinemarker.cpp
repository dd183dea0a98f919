#include "analysis/ui/spectrumlinemarker.h"

#include "analysis/analysisfunctions.h"
#include "analysis/ui/lineselectplotcanvas.h"

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

double SpectrumLineMarker::currentLabelShift() const
{
    const auto *canvas = qobject_cast<const LineSelectPlotCanvas *>(parentWidget());
    if (!canvas || m_renderMode != RenderLine)
        return 0;
    QVector<SpectrumLineMarker *> markers = canvas->lines();
    if (!m_placed)
        markers.append(const_cast<SpectrumLineMarker *>(this));
    const int index = markers.indexOf(const_cast<SpectrumLineMarker *>(this));
    return arrangedLabelShifts(markers, m_plot->canvasMap(QwtPlot::xBottom),
                               m_plot->canvasMap(QwtPlot::yLeft), font(), height())
        .value(index);
}

void SpectrumLineMarker::drawOverlay(QPainter *painter) const
{
    paintMarker(painter, nullptr, nullptr, currentLabelShift());
}

QRegion SpectrumLineMarker::maskHint() const
{
    if (!std::isfinite(m_snappedX) || !std::isfinite(m_snappedY))
        return QRegion(0, 0, 1, 1);
    const QPointF point = canvasPosition();
    if (m_renderMode == RenderPoint)
        return QRegion(QRectF(point.x() - 3, point.y() - 3, 7, 7).toAlignedRect());
    QRectF label = labelBox(point, font());
    label.translate(0, -currentLabelShift());
    return QRegion(QRect(int(point.x()) - 1, 0, 3, height()))
           + QRegion(label.adjusted(-1, -1, 1, 1).toAlignedRect());
}

QRectF SpectrumLineMarker::labelRect(const QFont &font) const
{
    const QFontMetricsF metrics(font);
    QRectF rect = metrics.boundingRect(m_text);
    rect.setLeft(rect.left() - 1);
    rect.moveLeft(rect.left() - metrics.horizontalAdvance(QStringLiteral("MMM")));
    rect.moveTop(-rect.height() * 0.5);
    return rect;
}

QRectF SpectrumLineMarker::labelBox(QPointF point, const QFont &font) const
{
    // The painter turns by -90 degrees: the label's x runs upwards, its y to the right.
    const QRectF rect = labelRect(font).adjusted(-4, -2, 4, 2);
    const double offset = std::isfinite(m_labelOffset) ? m_labelOffset : 0.0;
    return QRectF(point.x() + rect.top(), point.y() + offset - rect.right(), rect.height(),
                  rect.width());
}

QVector<double> arrangedLabelShifts(const QVector<SpectrumLineMarker *> &markers,
                                    const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                                    const QFont &font, double bottom)
{
    QVector<double> shifts(markers.size(), 0.0);
    QVector<QRectF> boxes(markers.size());
    QVector<int> order;
    for (int i = 0; i < markers.size(); ++i) {
        const SpectrumLineMarker *m = markers[i];
        if (m->renderMode() != SpectrumLineMarker::RenderLine || !std::isfinite(m->wavenumber())
            || !std::isfinite(m->snappedY()))
            continue;
        boxes[i]
            = m->labelBox({xMap.transform(m->wavenumber()), yMap.transform(m->snappedY())}, font);
        order.append(i);
    }
    std::sort(order.begin(), order.end(),
              [&boxes](int a, int b) { return boxes[a].center().x() < boxes[b].center().x(); });
    QVector<QRectF> placed;
    for (int i : qAsConst(order)) {
        QRectF box = boxes[i];
        if (box.bottom() > bottom)
            box.moveBottom(bottom);
        for (bool moved = true; moved;) {
            moved = false;
            for (const QRectF &other : qAsConst(placed)) {
                if (box.intersects(other)) {
                    box.moveBottom(other.top() - 1);
                    moved = true;
                }
            }
        }
        shifts[i] = boxes[i].top() - box.top();
        placed.append(box);
    }
    return shifts;
}

void SpectrumLineMarker::paintMarker(QPainter *painter, const QwtScaleMap *xMap,
                                     const QwtScaleMap *yMap, double labelShift) const
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
    painter->translate(point.x(), point.y() + offset - labelShift);
    painter->rotate(-90);
    const QRectF rect = labelRect(painter->font());
    m_labelRect = rect;
    painter->fillRect(rect.adjusted(-4, -2, 4, 2), Qt::white);
    painter->setPen(Qt::black);
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, m_text);
    painter->restore();
}
