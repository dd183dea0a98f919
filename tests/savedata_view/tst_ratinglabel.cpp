#include "savedata_view/ratinglabel.h"

#include <QSignalSpy>
#include <QtTest>

class TestRatingLabel : public QObject
{
    Q_OBJECT

private:
    // Centre of star `i` (1-based); the stars are equally wide and fill the label's text.
    static QPoint starCentre(const RatingLabel &label, int i)
    {
        const QRect area = label.contentsRect();
        return QPoint(area.left() + area.width() * (2 * i - 1) / (2 * label.maxRating()),
                      area.center().y());
    }

private slots:
    void starColours_data()
    {
        QTest::addColumn<int>("rating");
        QTest::addColumn<int>("yellow");
        QTest::newRow("none") << -1 << 0;
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("three") << 3 << 3;
        QTest::newRow("all") << 5 << 5;
        QTest::newRow("above maximum") << 7 << 5;
    }

    void starColours()
    {
        QFETCH(int, rating);
        QFETCH(int, yellow);
        RatingLabel label;
        label.setRating(rating);
        const QString text = label.text();
        QCOMPARE(text.count(QStringLiteral("color: #f1e900")), yellow);
        QCOMPARE(text.count(QStringLiteral("color: black")), 5 - yellow);
        QCOMPARE(text.count(QChar(0x2605)), 5);
        const QString firstStar
            = QStringLiteral("<a style=\"text-decoration: none; color: %1\" href=\"1\">★</a>")
                  .arg(yellow > 0 ? QStringLiteral("#f1e900") : QStringLiteral("black"));
        QVERIFY(text.startsWith(firstStar));
    }

    void constructionState()
    {
        QLabel plain;
        RatingLabel label;
        QCOMPARE(label.rating(), -1);
        QCOMPARE(label.font().pointSizeF(), plain.font().pointSizeF() * 1.5);
        QCOMPARE(label.textFormat(), Qt::RichText);
    }

    void clickingAStarSetsTheRating()
    {
        RatingLabel label;
        label.setRating(3);
        label.resize(label.sizeHint());
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QSignalSpy changed(&label, &RatingLabel::ratingChanged);

        QTest::mouseClick(&label, Qt::LeftButton, {}, starCentre(label, 3));
        QCOMPARE(changed.count(), 0);
        QTest::mouseClick(&label, Qt::LeftButton, {}, starCentre(label, 5));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 5);
        QCOMPARE(label.rating(), 5);
        QTest::mouseClick(&label, Qt::LeftButton, {}, starCentre(label, 1));
        QCOMPARE(label.rating(), 1);
        QCOMPARE(label.text().count(QStringLiteral("#f1e900")), 1);
    }

    void setRatingSignalsOnlyChanges()
    {
        RatingLabel label;
        QSignalSpy changed(&label, &RatingLabel::ratingChanged);
        label.setRating(-1);
        QCOMPARE(changed.count(), 0);
        label.setRating(2);
        label.setRating(2);
        QCOMPARE(changed.count(), 1);
        emit label.linkActivated(QStringLiteral("kein Stern"));
        QCOMPARE(label.rating(), 2);
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_MAIN(TestRatingLabel)
#include "tst_ratinglabel.moc"
