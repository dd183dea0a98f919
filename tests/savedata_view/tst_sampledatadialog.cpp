#include "savedata_view/dateselectdialog.h"
#include "savedata_view/ratinglabel.h"
#include "savedata_view/sampledatadialog.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QToolButton>
#include <QtTest>

class TestSampleDataDialog : public QObject
{
    Q_OBJECT

private:
    template<typename T>
    static T *child(QWidget *parent, const char *name)
    {
        T *widget = parent->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qWarning() << "no child" << name;
        return widget;
    }

    static void press(QDialog *dialog, QDialogButtonBox::StandardButton which)
    {
        QTest::mouseClick(child<QDialogButtonBox>(dialog, "buttonBox")->button(which),
                          Qt::LeftButton);
    }

    static SaveDataMetadata sample()
    {
        SaveDataMetadata m;
        m.owner = QStringLiteral("Huber, Anna");
        m.collection_name = QStringLiteral("Sammlung Huber");
        m.collection_id = QStringLiteral("HU-8");
        m.location = QStringLiteral("Elba, Italien");
        m.mineral_comment = QStringLiteral("Bruchfläche\nzweite Zeile");
        m.found_date = QDate(1987, 6, 15);
        m.rating = 3;
        m.unique_ident = QStringLiteral("0e7d1187-bbc8-4a47-9e65-75410b144e38");
        m.saved_date = QDateTime(QDate(2020, 2, 3), QTime(4, 5));
        return m;
    }

private slots:
    void init() { QSettings().clear(); }

    void roundTrip_data()
    {
        QTest::addColumn<bool>("yearOnly");
        QTest::addColumn<bool>("noDate");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QDate>("written");
        QTest::newRow("full date")
            << false << false << QStringLiteral("dd.MM.yyyy") << QDate(1987, 6, 15);
        QTest::newRow("year only") << true << false << QStringLiteral("yyyy") << QDate(1987, 1, 1);
        QTest::newRow("no date") << false << true << QStringLiteral("dd.MM.yyyy")
                                 << QDate(1987, 6, 15);
    }

    void roundTrip()
    {
        QFETCH(bool, yearOnly);
        QFETCH(bool, noDate);
        QFETCH(QString, format);
        QFETCH(QDate, written);
        SaveDataMetadata m = sample();
        m.found_date_year_only = yearOnly;
        m.nodate = noDate;

        SampleDataDialog dialog;
        dialog.setData(m);
        QCOMPARE(child<QRadioButton>(&dialog, "rButtYear")->isChecked(), yearOnly);
        QCOMPARE(child<QRadioButton>(&dialog, "rButtYearMonthDay")->isChecked(), !yearOnly);
        auto *dateEdit = child<QDateEdit>(&dialog, "dEditFoundDate");
        QCOMPARE(dateEdit->displayFormat(), format);
        QCOMPARE(dateEdit->isEnabled(), !noDate);
        QCOMPARE(child<QCheckBox>(&dialog, "cBoxNoDate")->isChecked(), noDate);
        QCOMPARE(child<QLineEdit>(&dialog, "EditCollectionNumber")->text(), m.collection_id);
        QCOMPARE(child<RatingLabel>(&dialog, "rating")->rating(), 3);

        SaveDataMetadata expected = m;
        expected.found_date = written;
        QCOMPARE(dialog.data(m), expected);
    }

    void editedFieldsReachTheRecord()
    {
        const SaveDataMetadata m = sample();
        SampleDataDialog dialog;
        dialog.setData(m);
        child<QLineEdit>(&dialog, "EditOwner")->setText(QStringLiteral("Museum"));
        child<QLineEdit>(&dialog, "EditLocation")->setText(QStringLiteral("Grube Clara"));
        child<QPlainTextEdit>(&dialog, "tEditRemark")->setPlainText(QStringLiteral("neu"));
        child<RatingLabel>(&dialog, "rating")->setRating(5);
        child<QDateEdit>(&dialog, "dEditFoundDate")->setDate(QDate(2001, 2, 3));
        QTest::mouseClick(child<QCheckBox>(&dialog, "cBoxNoDate"), Qt::LeftButton);

        const SaveDataMetadata got = dialog.data(m);
        QCOMPARE(got.owner, QStringLiteral("Museum"));
        QCOMPARE(got.location, QStringLiteral("Grube Clara"));
        QCOMPARE(got.mineral_comment, QStringLiteral("neu"));
        QCOMPARE(got.rating, 5);
        QCOMPARE(got.found_date, QDate(2001, 2, 3));
        QCOMPARE(got.nodate, true);
        QCOMPARE(got.unique_ident, m.unique_ident);
        QCOMPARE(got.saved_date, m.saved_date);
    }

    void switchingToYearKeepsTheDate()
    {
        SampleDataDialog dialog;
        dialog.setData(sample());
        dialog.show();
        auto *dateEdit = child<QDateEdit>(&dialog, "dEditFoundDate");
        QCOMPARE(dateEdit->text(), QStringLiteral("15.06.1987"));
        QTest::mouseClick(child<QRadioButton>(&dialog, "rButtYear"), Qt::LeftButton);
        QCOMPARE(dateEdit->displayFormat(), QStringLiteral("yyyy"));
        QCOMPARE(dateEdit->text(), QStringLiteral("1987"));
        QCOMPARE(dateEdit->date(), QDate(1987, 6, 15));
        QTest::mouseClick(child<QRadioButton>(&dialog, "rButtYearMonthDay"), Qt::LeftButton);
        QCOMPARE(dateEdit->displayFormat(), QStringLiteral("dd.MM.yyyy"));
    }

    void remarkStopsAt300Characters()
    {
        SampleDataDialog dialog;
        dialog.show();
        auto *remark = child<QPlainTextEdit>(&dialog, "tEditRemark");
        remark->setPlainText(QString(299, QLatin1Char('a')));
        remark->moveCursor(QTextCursor::End);
        QTest::keyClicks(remark, QStringLiteral("bc"));
        QCOMPARE(remark->toPlainText(), QString(299, QLatin1Char('a')) + QLatin1Char('b'));
        remark->moveCursor(QTextCursor::Start);
        QTest::keyClick(remark, Qt::Key_X);
        QCOMPARE(remark->toPlainText().length(), SampleDataDialog::MaxRemarkLength);
        QVERIFY(remark->toPlainText().startsWith(QLatin1Char('a')));
    }

    void cancelStoresNothing()
    {
        SampleDataDialog dialog;
        dialog.setData(sample());
        QTimer::singleShot(0, &dialog, [&dialog] { press(&dialog, QDialogButtonBox::Cancel); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(!dialog.wasAccepted());
        QVERIFY(QSettings().childGroups().isEmpty());
    }

    void acceptedValuesBecomeDefaults()
    {
        {
            SampleDataDialog dialog;
            QCOMPARE(child<QLineEdit>(&dialog, "EditOwner")->text(), QString());
            QVERIFY(child<QRadioButton>(&dialog, "rButtYearMonthDay")->isChecked());
            SaveDataMetadata m = sample();
            m.found_date_year_only = true;
            dialog.setData(m);
            QTimer::singleShot(0, &dialog, [&dialog] { press(&dialog, QDialogButtonBox::Ok); });
            QCOMPARE(dialog.exec(), int(QDialog::Accepted));
            QVERIFY(dialog.wasAccepted());
        }
        QSettings settings;
        settings.beginGroup(QStringLiteral("DefaultSampleMetadata"));
        QCOMPARE(settings.value(QStringLiteral("FoundDate")).toString(), QStringLiteral("1987"));
        QCOMPARE(settings.value(QStringLiteral("rButtonYear")).toBool(), true);
        QCOMPARE(settings.value(QStringLiteral("rButtonYearMonthDay")).toBool(), false);

        SampleDataDialog next;
        QCOMPARE(child<QLineEdit>(&next, "EditOwner")->text(), QStringLiteral("Huber, Anna"));
        QCOMPARE(child<QLineEdit>(&next, "EditCollectionName")->text(),
                 QStringLiteral("Sammlung Huber"));
        QCOMPARE(child<QLineEdit>(&next, "EditLocation")->text(), QStringLiteral("Elba, Italien"));
        QCOMPARE(child<QLineEdit>(&next, "EditCollectionNumber")->text(),
                 QStringLiteral("Unbenannt"));
        QVERIFY(child<QRadioButton>(&next, "rButtYear")->isChecked());
        QCOMPARE(child<QDateEdit>(&next, "dEditFoundDate")->displayFormat(),
                 QStringLiteral("yyyy"));
    }

    void calendarChoiceFillsTheDate()
    {
        SampleDataDialog dialog;
        dialog.setData(sample());
        dialog.show();
        bool ran = false;
        QTimer::singleShot(0, &dialog, [&] {
            auto *calendarDialog = dialog.findChild<DateSelectDialog *>();
            QVERIFY(calendarDialog && calendarDialog->isVisible());
            child<QCalendarWidget>(calendarDialog, "calendarWidget")
                ->setSelectedDate(QDate(1999, 12, 31));
            press(calendarDialog, QDialogButtonBox::Ok);
            ran = true;
        });
        QTest::mouseClick(child<QToolButton>(&dialog, "tButtDateChooser"), Qt::LeftButton);
        QVERIFY(ran);
        QCOMPARE(child<QDateEdit>(&dialog, "dEditFoundDate")->date(), QDate(1999, 12, 31));
    }
};

QTEST_MAIN(TestSampleDataDialog)
#include "tst_sampledatadialog.moc"
