#pragma once

#include <QLabel>
#include <QPixmap>

// Shows one picture as large as the label allows with its aspect ratio kept, or a note when
// there is none.
class AspectRatioPixmapLabel : public QLabel
{
    Q_OBJECT

public:
    explicit AspectRatioPixmapLabel(QWidget *parent = nullptr);

    void setPixmap(const QPixmap &pixmap);
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QPixmap scaledPixmap() const;

    QPixmap m_pixmap;
};
