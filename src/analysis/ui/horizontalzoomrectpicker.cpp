#include "analysis/ui/horizontalzoomrectpicker.h"

#include <qwt_picker_machine.h>
#include <qwt_plot.h>

HorizontalZoomRectPicker::HorizontalZoomRectPicker(QWidget *canvas)
    : QwtPlotPicker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::RectRubberBand,
                    QwtPicker::AlwaysOff, canvas)
{
    setStateMachine(new QwtPickerDragRectMachine);
    setRubberBandPen(QPen(QColor(QStringLiteral("#1f77b4")), 1, Qt::DashLine));
}
