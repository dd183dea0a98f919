#include "library/rlibrary.h"
#include "library/ui/lcanalysisprogressdialog.h"

#include "combinationfixture.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

namespace {

QFuture<QVector<LinearCombinationResult>> startSearch(const CombinationLibrary &library)
{
    QRandomGenerator random(3);
    SpectrumFingerprint measured;
    while (measured.peaks.size() < 10)
        measured = randomFingerprint(random, 30);
    return startCombinationSearch(library.spectra, library.fingerprints, measured,
                                  FingerprintParameters());
}

} // namespace

class TestLCAnalysisProgressDialog : public QObject
{
    Q_OBJECT

private slots:
    void progressText_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("librarySize");
        QTest::addColumn<qint64>("elapsed");
        QTest::addColumn<QString>("text");
        QTest::newRow("minutes left")
            << 1 << 3000 << 3000 << qint64(1000) << "Fertig: 3 k von 9000 k (49 m 59 s übrig)";
        QTest::newRow("1 ms, not 0")
            << 1 << 10 << 10000 << qint64(1) << "Fertig: 10 k von 100 k (0 m 0 s übrig)";
        QTest::newRow("rate rounds to 0")
            << 1 << 1000 << 10 << qint64(100) << "Fertig: 0 k von 10 k (0 m 0 s übrig)";
    }
    void progressText()
    {
        QFETCH(int, value);
        QFETCH(int, maximum);
        QFETCH(int, librarySize);
        QFETCH(qint64, elapsed);
        QFETCH(QString, text);
        QCOMPARE(LCAnalysisProgressDialog::progressText(value, maximum, librarySize, elapsed),
                 text);
    }
    void listsDistinctPairsAndSelectsThem()
    {
        QVector<RamanLibrarySpectrum> spectra(3);
        const QStringList names
            = QStringLiteral("Quartz:20 Albite:100 albite:3").split(QLatin1Char(' '));
        for (int i = 0; i < 3; ++i) {
            spectra[i].info.name = names[i].section(QLatin1Char(':'), 0, 0);
            spectra[i].info.number = names[i].section(QLatin1Char(':'), 1);
        }
        const RamanLibrarySpectrum *s = spectra.constData();
        LCAnalysisProgressDialog dialog;
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.showResults({{s + 0, s + 1, 9.87654},
                            {s + 1, s + 0, 9.87654},
                            {s + 2, s + 2, 10.0},
                            {s + 2, s + 0, 0.123456},
                            {s + 0, s + 2, 0.123456},
                            {s + 1, s + 2, -1.0}});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *list = dialog.findChild<QListWidget *>();
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts.append(list->item(row)->text());
        QCOMPARE(texts.join(QLatin1Char(';')),
                 QStringLiteral("Albite + Quartz (9.88);albite + albite (10);"
                                "Quartz + albite (0.123);Albite + albite (-1)"));
        QSignalSpy selected(&dialog, &LCAnalysisProgressDialog::idsSelected);
        const QPoint centre = list->visualItemRect(list->item(2)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.at(0).at(0).toStringList(),
                 (QStringList{QStringLiteral("20"), QStringLiteral("3")}));
    }
    void closingStopsTheSearch_data()
    {
        QTest::addColumn<bool>("byReload");
        QTest::addColumn<bool>("afterResults");
        QTest::newRow("cancel button") << false << false;
        QTest::newRow("library reload while searching") << true << false;
        QTest::newRow("library reload showing results") << true << true;
    }
    void closingStopsTheSearch()
    {
        QFETCH(bool, byReload);
        QFETCH(bool, afterResults);
        const CombinationLibrary library = randomCombinationLibrary(afterResults ? 30 : 2000, 13);
        QFuture<QVector<LinearCombinationResult>> search = startSearch(library);
        RLibrary reference;
        QPointer<LCAnalysisProgressDialog> dialog = new LCAnalysisProgressDialog;
        dialog->watchSearch(search, library.spectra.size());
        dialog->watchLibrary(&reference);
        dialog->show();
        const auto *list = dialog->findChild<QListWidget *>();
        if (afterResults)
            QTRY_VERIFY(list->count() > 0);
        if (byReload)
            reference.clear();
        else
            dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBoxProgress"))
                ->button(QDialogButtonBox::Cancel)
                ->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(list->count(), 0);
        search.waitForFinished();
        if (!afterResults)
            QVERIFY(search.isCanceled() && search.progressValue() < search.progressMaximum());
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(TestLCAnalysisProgressDialog)
#include "tst_lcanalysisprogressdialog.moc"
