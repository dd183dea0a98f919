#include "savedata_view/ratinglabel.h"

#include <QtTest>
#include <QtWidgets>

class TestRatingLabel : public QObject
{
    Q_OBJECT

private slots:
    void starsFollowTheRating()
    {
        RatingLabel label;
        QCOMPARE(label.rating(), -1);
        label.setRating(3);
        QCOMPARE(label.text().count(QStringLiteral("color: #f1e900")), 3);

        label.resize(label.sizeHint());
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QSignalSpy changed(&label, &RatingLabel::ratingChanged);
        const auto clickStar = [&label](int i) {
            const QRect area = label.contentsRect();
            QTest::mouseClick(
                &label, Qt::LeftButton, {},
                QPoint(area.left() + area.width() * (2 * i - 1) / 10, area.center().y()));
        };
        clickStar(3);
        label.setRating(3);
        QCOMPARE(changed.count(), 0);
        clickStar(5);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 5);
        QCOMPARE(label.text().count(QStringLiteral("color: #f1e900")), 5);
    }
};

QTEST_MAIN(TestRatingLabel)
#include "tst_ratinglabel.moc"
