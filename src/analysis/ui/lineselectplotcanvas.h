#pragma once

#include "analysis/ui/spectrumlinemarker.h"

#include <qwt_plot_canvas.h>

#include <QVector>

// The main plot's canvas: a crosshair with its wavenumber follows the mouse, a left click places
// a line (or background control point) there, a right click removes the line under the mouse.
class LineSelectPlotCanvas : public QwtPlotCanvas
{
    Q_OBJECT

public:
    explicit LineSelectPlotCanvas(QwtPlot *plot);
    ~LineSelectPlotCanvas() override;

    QVector<SpectrumLineMarker *> lines() const { return m_lines; }
    bool isCursorEnabled() const { return m_cursorEnabled; }
    SpectrumLineMarker::LineRenderMode lineRenderMode() const
    {
        return SpectrumLineMarker::LineRenderMode(m_renderMode);
    }
    SpectrumLineMarker *hoverMarker() const { return m_hoverMarker; }
    // Removes the placed line drawn within a few pixels of this canvas position.
    bool removeLineAt(QPointF position);

signals:
    void linesChanged();
    void fileDroppedOnWidget(const QString &path);

public slots:
    void setCursorEnabled(bool enabled);
    void placeLine();
    void placeLineAt(double wavenumber);
    void clearLines();
    void setSnapMode(SpectrumLineMarker::SnapMode mode);
    void updateCrosshair(QPointF point, bool state, bool moveLabel);
    void updateCrosshair(QPointF point, bool state);
    void setLineRenderMode(SpectrumLineMarker::LineRenderMode newMode);
    void latchLinesToNewYValues();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void ensureHoverMarker();
    // Labels make room for each other, so every marker repaints when one changes or the scales do.
    // Once per event-loop turn, however many markers changed.
    void refreshMarkers();

    QwtPlot *m_plot;
    SpectrumLineMarker *m_hoverMarker = nullptr;
    bool m_cursorEnabled = false;
    QVector<SpectrumLineMarker *> m_lines;
    quint32 m_renderMode = SpectrumLineMarker::RenderLine;
    bool m_refreshPending = false;
};
