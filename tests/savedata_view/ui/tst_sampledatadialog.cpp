#include "measurementfolders.h"
#include "modaldialogs.h"
#include "savedata_view/ui/dateselectdialog.h"
#include "savedata_view/ui/ratinglabel.h"
#include "savedata_view/ui/sampledatadialog.h"

#include <QtTest>
#include <QtWidgets>

class TestSampleDataDialog : public QObject
{
    Q_OBJECT

    static void pressLater(QDialog *dialog, QDialogButtonBox::StandardButton button)
    {
        answerNextModal<QDialog>([dialog, button](QDialog *) {
            childNamed<QDialogButtonBox>(dialog, "buttonBox")->button(button)->click();
        });
    }

private slots:
    void init() { QSettings().clear(); }

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

    // Only the year is kept when only the year is shown.
    void roundTrip()
    {
        for (const bool yearOnly : {false, true}) {
            SaveDataMetadata m;
            m.owner = QStringLiteral("Huber");
            m.found_date = QDate(1987, 6, 15);
            m.found_date_year_only = yearOnly;
            SampleDataDialog dialog;
            dialog.setData(m);
            SaveDataMetadata expected = m;
            expected.found_date = yearOnly ? QDate(1987, 1, 1) : m.found_date;
            QCOMPARE(dialog.data(m), expected);
        }
    }

    void remarkStopsAt300Characters()
    {
        SampleDataDialog dialog;
        dialog.show();
        auto *remark = childNamed<QPlainTextEdit>(&dialog, "tEditRemark");
        remark->setPlainText(QString(299, QLatin1Char('a')));
        remark->moveCursor(QTextCursor::End);
        QTest::keyClicks(remark, QStringLiteral("bc"));
        QCOMPARE(remark->toPlainText(), QString(299, QLatin1Char('a')) + QLatin1Char('b'));
    }

    void onlyAcceptingStoresDefaults()
    {
        SampleDataDialog cancelled;
        pressLater(&cancelled, QDialogButtonBox::Cancel);
        QCOMPARE(cancelled.exec(), int(QDialog::Rejected));
        QVERIFY(QSettings().allKeys().isEmpty());

        SampleDataDialog accepted;
        childNamed<QLineEdit>(&accepted, "EditOwner")->setText(QStringLiteral("Huber"));
        childNamed<QRadioButton>(&accepted, "rButtYear")->click();
        pressLater(&accepted, QDialogButtonBox::Ok);
        QCOMPARE(accepted.exec(), int(QDialog::Accepted));

        SampleDataDialog next;
        QCOMPARE(childNamed<QLineEdit>(&next, "EditOwner")->text(), QStringLiteral("Huber"));
        QVERIFY(childNamed<QRadioButton>(&next, "rButtYear")->isChecked());
    }

    // The calendar gives the shown month with the selected day, which may not exist there.
    void calendarDate()
    {
        SampleDataDialog dialog;
        auto *calendarDialog = dialog.findChild<DateSelectDialog *>();
        auto *calendar = childNamed<QCalendarWidget>(calendarDialog, "calendarWidget");
        calendar->setSelectedDate(QDate(2020, 1, 31));
        calendar->setCurrentPage(2020, 2);
        QCOMPARE(calendarDialog->date(), QDate());
        calendar->setCurrentPage(1999, 12);
        QCOMPARE(calendarDialog->date(), QDate(1999, 12, 31));

        pressLater(calendarDialog, QDialogButtonBox::Ok);
        childNamed<QToolButton>(&dialog, "tButtDateChooser")->click();
        QCOMPARE(childNamed<QDateEdit>(&dialog, "dEditFoundDate")->date(), QDate(1999, 12, 31));
    }
};

QTEST_MAIN(TestSampleDataDialog)
#include "tst_sampledatadialog.moc"
