#include "savedata_view/dateselectdialog.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

class TestDateSelectDialog : public QObject
{
    Q_OBJECT

private slots:
    void dateFromShownMonthAndSelectedDay_data()
    {
        QTest::addColumn<QDate>("selected");
        QTest::addColumn<int>("shownYear");
        QTest::addColumn<int>("shownMonth");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("unchanged page") << QDate(2020, 1, 31) << 2020 << 1 << QDate(2020, 1, 31);
        QTest::newRow("other month keeps the day")
            << QDate(2020, 1, 31) << 2021 << 3 << QDate(2021, 3, 31);
        QTest::newRow("day missing in shown month") << QDate(2020, 1, 31) << 2020 << 2 << QDate();
        QTest::newRow("year 1") << QDate(1, 1, 1) << 1 << 1 << QDate(1, 1, 1);
    }

    void dateFromShownMonthAndSelectedDay()
    {
        QFETCH(QDate, selected);
        QFETCH(int, shownYear);
        QFETCH(int, shownMonth);
        QFETCH(QDate, expected);
        DateSelectDialog dialog;
        auto *calendar = dialog.findChild<QCalendarWidget *>(QStringLiteral("calendarWidget"));
        QVERIFY(calendar);
        calendar->setSelectedDate(selected);
        calendar->setCurrentPage(shownYear, shownMonth);
        QCOMPARE(dialog.date(), expected);
    }

    void calendarRangeAndButtons()
    {
        DateSelectDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("DialogDate"));
        auto *calendar = dialog.findChild<QCalendarWidget *>(QStringLiteral("calendarWidget"));
        QCOMPARE(calendar->minimumDate(), QDate(1, 1, 1));
        QCOMPARE(calendar->maximumDate(), QDate(2200, 1, 1));
        QVERIFY(calendar->isNavigationBarVisible());

        auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        for (const auto which : {QDialogButtonBox::Ok, QDialogButtonBox::Cancel}) {
            QTimer::singleShot(0, &dialog, [buttons, which] {
                QTest::mouseClick(buttons->button(which), Qt::LeftButton);
            });
            QCOMPARE(dialog.exec(), which == QDialogButtonBox::Ok ? int(QDialog::Accepted)
                                                                  : int(QDialog::Rejected));
        }
    }
};

QTEST_MAIN(TestDateSelectDialog)
#include "tst_dateselectdialog.moc"
