#include "savedata_view/ui/aspectratiopixmaplabel.h"

AspectRatioPixmapLabel::AspectRatioPixmapLabel(QWidget *parent)
    : QLabel(parent)
{
    setMinimumSize(1, 1);
    setScaledContents(false);
}

void AspectRatioPixmapLabel::setPixmap(const QPixmap &pixmap)
{
    m_pixmap = pixmap;
    if (m_pixmap.isNull())
        setText(tr("<i>Kein Bild vorhanden</i>"));
    else
        QLabel::setPixmap(scaledPixmap());
}

int AspectRatioPixmapLabel::heightForWidth(int width) const
{
    if (m_pixmap.isNull())
        return height();
    return int(qint64(m_pixmap.height()) * width / m_pixmap.width());
}

QSize AspectRatioPixmapLabel::sizeHint() const
{
    const int w = width();
    return QSize(w, heightForWidth(w));
}

void AspectRatioPixmapLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    if (!m_pixmap.isNull())
        QLabel::setPixmap(scaledPixmap());
}

QPixmap AspectRatioPixmapLabel::scaledPixmap() const
{
    return m_pixmap.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
