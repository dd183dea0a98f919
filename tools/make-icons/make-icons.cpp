// Draws the program's own icons as 64 x 64 PNG files; run once after changing a drawing and
// commit the results:
//   QT_QPA_PLATFORM=offscreen ./make-icons .
// Only shapes are drawn, no text, so the result does not depend on installed fonts.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

constexpr int Size = 64;
const QColor outline(0x2e, 0x34, 0x36);

QPainterPath page(const QRectF &r, qreal fold)
{
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    return path;
}

void drawPage(QPainter &p, const QRectF &r)
{
    const qreal fold = 12;
    p.setPen(QPen(outline, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xfc, 0xfc, 0xfa));
    p.drawPath(page(r, fold));
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(QColor(0xd3, 0xd7, 0xcf));
    p.drawPath(corner);
}

void taskComplete(QPainter &p)
{
    p.setPen(QPen(QColor(0x2f, 0x7d, 0x1f), 3));
    p.setBrush(QColor(0x4e, 0xb5, 0x2a));
    p.drawEllipse(QRectF(4, 4, 56, 56));
    QPainterPath tick;
    tick.moveTo(18, 33);
    tick.lineTo(28, 43);
    tick.lineTo(47, 22);
    p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

void taskAttention(QPainter &p)
{
    QPainterPath triangle;
    triangle.moveTo(32, 5);
    triangle.lineTo(60, 57);
    triangle.lineTo(4, 57);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(0xb3, 0x6b, 0x00), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xf5, 0xb8, 0x00));
    p.drawPath(triangle);
    p.setPen(QPen(outline, 6.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 22), QPointF(32, 39));
    p.setPen(Qt::NoPen);
    p.setBrush(outline);
    p.drawEllipse(QPointF(32, 49), 3.8, 3.8);
}

void folderNew(QPainter &p)
{
    QPainterPath folder;
    folder.moveTo(4, 14);
    folder.lineTo(22, 14);
    folder.lineTo(27, 20);
    folder.lineTo(56, 20);
    folder.lineTo(56, 52);
    folder.lineTo(4, 52);
    folder.closeSubpath();
    p.setPen(QPen(QColor(0x8f, 0x5e, 0x02), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xed, 0xb6, 0x4a));
    p.drawPath(folder);
    p.setBrush(QColor(0xf8, 0xd2, 0x7a));
    p.drawRect(QRectF(4, 26, 52, 26));
    // The badge: a green plus.
    p.setPen(QPen(QColor(0x2f, 0x7d, 0x1f), 2));
    p.setBrush(QColor(0x4e, 0xb5, 0x2a));
    p.drawEllipse(QPointF(48, 48), 13, 13);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(48, 41), QPointF(48, 55));
    p.drawLine(QPointF(41, 48), QPointF(55, 48));
}

void documentSave(QPainter &p)
{
    QPainterPath disk;
    disk.moveTo(6, 6);
    disk.lineTo(50, 6);
    disk.lineTo(58, 14);
    disk.lineTo(58, 58);
    disk.lineTo(6, 58);
    disk.closeSubpath();
    p.setPen(QPen(QColor(0x20, 0x4a, 0x87), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0x34, 0x65, 0xa4));
    p.drawPath(disk);
    // Shutter and label.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xba, 0xbd, 0xb6));
    p.drawRect(QRectF(16, 8, 28, 16));
    p.setBrush(QColor(0x34, 0x65, 0xa4));
    p.drawRect(QRectF(34, 11, 6, 10));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(13, 32, 38, 22), 2, 2);
    p.setPen(QPen(QColor(0x88, 0x8a, 0x85), 2));
    p.drawLine(QPointF(18, 39), QPointF(46, 39));
    p.drawLine(QPointF(18, 46), QPointF(40, 46));
}

void viewRefresh(QPainter &p)
{
    const QColor blue(0x34, 0x65, 0xa4);
    const QRectF circle(12, 12, 40, 40);
    p.setPen(QPen(blue, 8, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    // Qt measures arcs in 1/16 degree, counter-clockwise from three o'clock.
    p.drawArc(circle, 100 * 16, 290 * 16);
    QPainterPath head;
    head.moveTo(27, 2);
    head.lineTo(41, 13);
    head.lineTo(27, 24);
    head.closeSubpath();
    p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(blue);
    p.drawPath(head);
}

void documentClose(QPainter &p)
{
    drawPage(p, QRectF(8, 4, 40, 52));
    p.setPen(QPen(QColor(0x88, 0x8a, 0x85), 2.5));
    for (int y = 22; y <= 34; y += 6)
        p.drawLine(QPointF(15, y), QPointF(40, y));
    p.setPen(QPen(QColor(0xa4, 0x00, 0x00), 2));
    p.setBrush(QColor(0xcc, 0x00, 0x00));
    p.drawEllipse(QPointF(46, 46), 14, 14);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(40, 40), QPointF(52, 52));
    p.drawLine(QPointF(52, 40), QPointF(40, 52));
}

void dialogResults(QPainter &p)
{
    drawPage(p, QRectF(8, 4, 48, 56));
    p.setPen(QPen(QColor(0x88, 0x8a, 0x85), 2.5));
    p.drawLine(QPointF(15, 14), QPointF(38, 14));
    p.drawLine(QPointF(15, 21), QPointF(44, 21));
    // A small bar chart: the report's result.
    p.setPen(QPen(outline, 2));
    p.drawLine(QPointF(15, 53), QPointF(49, 53));
    p.setPen(Qt::NoPen);
    const QColor bars[]
        = {QColor(0x34, 0x65, 0xa4), QColor(0x4e, 0xb5, 0x2a), QColor(0xf5, 0x79, 0x00)};
    const qreal heights[] = {12, 24, 17};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(bars[i]);
        p.drawRect(QRectF(18 + i * 11, 52 - heights[i], 8, heights[i]));
    }
}

// A spectrum over a frame with a magnifier: more views of the analysis.
void modePreview(QPainter &p)
{
    p.setPen(QPen(outline, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xfc, 0xfc, 0xfa));
    p.drawRoundedRect(QRectF(4, 8, 50, 40), 3, 3);
    QPainterPath curve;
    curve.moveTo(8, 42);
    const qreal peaks[][2] = {{16, 30}, {24, 14}, {33, 34}, {42, 22}};
    qreal x = 8;
    for (const auto &peak : peaks) {
        curve.lineTo(peak[0] - 3, 42 - (x == 8 ? 0 : 2));
        curve.lineTo(peak[0], peak[1]);
        curve.lineTo(peak[0] + 3, 41);
        x = peak[0] + 3;
    }
    curve.lineTo(50, 42);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x34, 0x65, 0xa4), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curve);
    p.setPen(QPen(outline, 3));
    p.setBrush(QColor(0xff, 0xff, 0xff, 0xc0));
    p.drawEllipse(QPointF(44, 44), 10, 10);
    p.setPen(QPen(outline, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(51, 51), QPointF(60, 60));
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QDir target(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    const QVector<QPair<QString, std::function<void(QPainter &)>>> icons{
        {QStringLiteral("task-complete"), taskComplete},
        {QStringLiteral("task-attention"), taskAttention},
        {QStringLiteral("folder-new"), folderNew},
        {QStringLiteral("document-save"), documentSave},
        {QStringLiteral("view-refresh"), viewRefresh},
        {QStringLiteral("document-close"), documentClose},
        {QStringLiteral("dialog-results"), dialogResults},
        {QStringLiteral("mode-preview"), modePreview},
    };
    for (const auto &icon : icons) {
        QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        icon.second(painter);
        painter.end();
        if (!image.save(target.filePath(icon.first + QStringLiteral(".png"))))
            return 1;
    }
    return 0;
}
