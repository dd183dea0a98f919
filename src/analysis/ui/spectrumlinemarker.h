#pragma once

#include <qwt_widget_overlay.h>

#include <QRectF>

class QwtPlot;
class QwtScaleMap;

// One line (or background control point) drawn over a plot's canvas, positioned on the plot's
// first curve.
class SpectrumLineMarker : public QwtWidgetOverlay
{
    Q_OBJECT

public:
    // 0: the highest point near the requested x, 1: the lowest, 2: the requested x itself.
    enum SnapMode : quint32 { SnapToMaximum = 0, SnapToMinimum = 1, NoSnapping = 2 };
    // 0: a vertical line with a rotated label, 1: a small square.
    enum LineRenderMode : quint32 { RenderLine = 0, RenderPoint = 1 };

    SpectrumLineMarker(QwtPlot *plot, LineRenderMode renderMode);

    void setPosition(double x, double y);
    double requestedX() const { return m_requestedX; }
    void setSnapMode(SnapMode mode);
    SnapMode snapMode() const { return SnapMode(m_snapMode); }
    LineRenderMode renderMode() const { return LineRenderMode(m_renderMode); }
    double wavenumber() const { return m_snappedX; }
    double snappedY() const { return m_snappedY; }
    // The snapped y over the largest y of the plot's first curve.
    double relativeAmplitude() const;
    // Takes y from the first curve point at or after the requested x and snaps again.
    void reReadY();
    void setLabelOffset(double pixels);
    void setHighlighted(bool highlighted);
    void setPlaced();
    bool isPlaced() const { return m_placed != 0; }
    // Where the marker is drawn on the canvas, in pixels.
    QPointF canvasPosition() const;

    void paintMarker(QPainter *painter, const QwtScaleMap *xMap = nullptr,
                     const QwtScaleMap *yMap = nullptr) const;

protected:
    void drawOverlay(QPainter *painter) const override;

private:
    void snap();

    double m_snappedY;
    double m_snappedX;
    double m_labelOffset;
    QString m_text;
    bool m_highlighted = false;
    mutable QRectF m_labelRect;
    double m_requestedX = 0;
    double m_requestedY = 0;
    QwtPlot *m_plot;
    quint32 m_snapMode = NoSnapping;
    quint32 m_placed = 0;
    quint32 m_renderMode;
};
