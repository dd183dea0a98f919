#pragma once

#include <QLabel>

// A row of clickable stars showing a rating: yellow up to the rating, black beyond.
class RatingLabel : public QLabel
{
    Q_OBJECT

public:
    explicit RatingLabel(QWidget *parent = nullptr);

    int rating() const { return m_rating; }
    int maxRating() const { return m_maxRating; }

public slots:
    void setRating(int value);

signals:
    void ratingChanged(int newRating);

private slots:
    void updateRating(const QString &clicked);
    void updateText();

private:
    qint32 m_rating = -1;
    const qint32 m_maxRating = 5;
    const QString m_star = QString(QChar(0x2605));
};
