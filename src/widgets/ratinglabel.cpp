#include "widgets/ratinglabel.h"

RatingLabel::RatingLabel(QWidget *parent)
    : QLabel(parent)
{
    QFont enlarged = font();
    if (enlarged.pointSizeF() > 0)
        enlarged.setPointSizeF(enlarged.pointSizeF() * 1.5);
    else
        enlarged.setPixelSize(qRound(enlarged.pixelSize() * 1.5));
    setFont(enlarged);
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(this, &QLabel::linkActivated, this, &RatingLabel::updateRating);
    updateText();
}

void RatingLabel::setRating(int value)
{
    if (value == m_rating)
        return;
    m_rating = value;
    updateText();
    emit ratingChanged(m_rating);
}

void RatingLabel::updateRating(const QString &clicked)
{
    bool ok = false;
    const int value = clicked.toInt(&ok);
    if (ok)
        setRating(value);
}

void RatingLabel::updateText()
{
    QString text;
    for (int i = 1; i <= m_maxRating; ++i) {
        text += QStringLiteral("<a style=\"text-decoration: none; color: %1\" href=\"%2\">%3</a>")
                    .arg(i <= m_rating ? QStringLiteral("#f1e900") : QStringLiteral("black"))
                    .arg(i)
                    .arg(m_star);
    }
    setText(text);
}
