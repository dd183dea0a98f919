#include "analysis/ui/lineselectplotcanvas.h"

#include "core/logging.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_map.h>
#include <qwt_scale_widget.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineF>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>

#include <cmath>

namespace {
// How far (pixels) a right click may be from a line to remove it.
constexpr double pickRadius = 5.0;
} // namespace

LineSelectPlotCanvas::LineSelectPlotCanvas(QwtPlot *plot)
    : QwtPlotCanvas(plot)
    , m_plot(plot)
{
    setAcceptDrops(true);
    for (int axis : {QwtPlot::xBottom, QwtPlot::yLeft})
        connect(plot->axisWidget(axis), &QwtScaleWidget::scaleDivChanged, this,
                &LineSelectPlotCanvas::refreshMarkers);
}

void LineSelectPlotCanvas::refreshMarkers()
{
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshPending = false;
        for (SpectrumLineMarker *line : qAsConst(m_lines))
            line->updateOverlay();
        if (m_hoverMarker && m_hoverMarker->isVisible())
            m_hoverMarker->updateOverlay();
    });
}

LineSelectPlotCanvas::~LineSelectPlotCanvas()
{
    qDeleteAll(m_lines);
    delete m_hoverMarker;
}

void LineSelectPlotCanvas::ensureHoverMarker()
{
    if (!m_hoverMarker) {
        m_hoverMarker = new SpectrumLineMarker(m_plot, lineRenderMode());
        m_hoverMarker->hide();
    }
}

void LineSelectPlotCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF point(m_plot->invTransform(QwtPlot::xBottom, event->pos().x()),
                        m_plot->invTransform(QwtPlot::yLeft, event->pos().y()));
    updateCrosshair(point, m_cursorEnabled, event->buttons().testFlag(Qt::LeftButton));
    QwtPlotCanvas::mouseMoveEvent(event);
}

// The layout may resize the plot after the lines were placed, without changing its scales.
void LineSelectPlotCanvas::resizeEvent(QResizeEvent *event)
{
    QwtPlotCanvas::resizeEvent(event);
    refreshMarkers();
}

void LineSelectPlotCanvas::updateCrosshair(QPointF point, bool state)
{
    updateCrosshair(point, state, false);
}

void LineSelectPlotCanvas::updateCrosshair(QPointF point, bool state, bool moveLabel)
{
    ensureHoverMarker();
    if (!state) {
        m_hoverMarker->hide();
        return;
    }
    if (!moveLabel || m_hoverMarker->renderMode() != SpectrumLineMarker::RenderLine) {
        m_hoverMarker->setPosition(point.x(), point.y());
    } else {
        const double markerY = m_plot->transform(QwtPlot::yLeft, m_hoverMarker->snappedY());
        const double mouseY = m_plot->transform(QwtPlot::yLeft, point.y());
        m_hoverMarker->setLabelOffset(mouseY - markerY);
    }
    m_hoverMarker->show();
}

void LineSelectPlotCanvas::leaveEvent(QEvent *event)
{
    if (m_hoverMarker)
        m_hoverMarker->hide();
    QwtPlotCanvas::leaveEvent(event);
}

void LineSelectPlotCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_cursorEnabled) {
        QwtPlotCanvas::mouseReleaseEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        placeLine();
    } else if (event->button() == Qt::RightButton) {
        removeLineAt(event->pos());
        emit linesChanged();
    } else {
        QwtPlotCanvas::mouseReleaseEvent(event);
    }
}

bool LineSelectPlotCanvas::removeLineAt(QPointF position)
{
    for (int i = 0; i < m_lines.size(); ++i) {
        SpectrumLineMarker *line = m_lines[i];
        const QPointF at = line->canvasPosition();
        const bool hit = line->renderMode() == SpectrumLineMarker::RenderLine
                             ? std::abs(at.x() - position.x()) <= pickRadius
                             : QLineF(at, position).length() <= pickRadius;
        if (hit) {
            delete m_lines.takeAt(i);
            refreshMarkers();
            return true;
        }
    }
    return false;
}

void LineSelectPlotCanvas::placeLine()
{
    ensureHoverMarker();
    if (!std::isfinite(m_hoverMarker->wavenumber()))
        return;
    for (const SpectrumLineMarker *line : qAsConst(m_lines)) {
        if (line->wavenumber() == m_hoverMarker->wavenumber()
            && line->snappedY() == m_hoverMarker->snappedY()) {
            qCInfo(logUiGeneral) << "line exists already, not duplicating it";
            return;
        }
    }
    SpectrumLineMarker *placed = m_hoverMarker;
    m_lines.append(placed);
    placed->setPlaced();
    m_hoverMarker = new SpectrumLineMarker(m_plot, lineRenderMode());
    m_hoverMarker->setSnapMode(placed->snapMode());
    m_hoverMarker->hide();
    m_hoverMarker->setPosition(placed->requestedX(), placed->snappedY());
    refreshMarkers();
    emit linesChanged();
}

void LineSelectPlotCanvas::placeLineAt(double wavenumber)
{
    ensureHoverMarker();
    const SpectrumLineMarker::SnapMode previous = m_hoverMarker->snapMode();
    m_hoverMarker->setSnapMode(SpectrumLineMarker::NoSnapping);
    m_hoverMarker->setPosition(wavenumber, 0);
    m_hoverMarker->show();
    placeLine();
    m_hoverMarker->setSnapMode(previous);
}

void LineSelectPlotCanvas::clearLines()
{
    qDeleteAll(m_lines);
    m_lines.clear();
    emit linesChanged();
    delete m_hoverMarker;
    m_hoverMarker = nullptr;
    update();
}

void LineSelectPlotCanvas::setCursorEnabled(bool enabled)
{
    setMouseTracking(enabled);
    m_cursorEnabled = enabled;
    ensureHoverMarker();
    if (enabled) {
        m_hoverMarker->setPosition(0, 0);
        m_hoverMarker->show();
    } else {
        m_hoverMarker->hide();
    }
}

void LineSelectPlotCanvas::setSnapMode(SpectrumLineMarker::SnapMode mode)
{
    ensureHoverMarker();
    m_hoverMarker->setSnapMode(mode);
}

void LineSelectPlotCanvas::setLineRenderMode(SpectrumLineMarker::LineRenderMode newMode)
{
    m_renderMode = newMode;
}

void LineSelectPlotCanvas::latchLinesToNewYValues()
{
    for (SpectrumLineMarker *line : qAsConst(m_lines))
        line->reReadY();
    refreshMarkers();
}

void LineSelectPlotCanvas::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void LineSelectPlotCanvas::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1)
        emit fileDroppedOnWidget(urls.first().toLocalFile());
}
