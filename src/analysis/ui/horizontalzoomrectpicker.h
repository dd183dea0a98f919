#pragma once

#include <qwt_plot_picker.h>

// Picks a horizontal range of a plot by dragging a rectangle over its canvas.
class HorizontalZoomRectPicker : public QwtPlotPicker
{
    Q_OBJECT

public:
    explicit HorizontalZoomRectPicker(QWidget *canvas);
};
