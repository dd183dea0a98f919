#include "library/lcanalysisprogressdialog.h"
#include "library/rlibrary.h"

#include "combinationfixture.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

namespace {

RamanLibrarySpectrum spectrum(const QString &name, const QString &number)
{
    RamanLibrarySpectrum s;
    s.info.name = name;
    s.info.number = number;
    return s;
}

QFuture<QVector<LinearCombinationResult>> startSearch(const CombinationLibrary &library)
{
    QRandomGenerator random(3);
    SpectrumFingerprint measured;
    while (measured.peaks.size() < 10)
        measured = randomFingerprint(random, 30);
    return startCombinationSearch(library.spectra, library.fingerprints, measured,
                                  FingerprintParameters());
}

QStringList itemTexts(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

} // namespace

class TestLCAnalysisProgressDialog : public QObject
{
    Q_OBJECT

private slots:
    void startsOnTheProgressPage();
    void progressText_data();
    void progressText();
    void showResultsListsDistinctPairs();
    void activatingAPairSelectsItsIds();
    void finishedSearchShowsItsResults();
    void cancelStopsTheSearch();
    void closesWhenTheLibraryReloads_data();
    void closesWhenTheLibraryReloads();
};

void TestLCAnalysisProgressDialog::startsOnTheProgressPage()
{
    LCAnalysisProgressDialog dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("DialogLCAnalysisProgress"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Korrelations-Ergebnisse"));
    QVERIFY(dialog.testAttribute(Qt::WA_DeleteOnClose));
    dialog.setAttribute(Qt::WA_DeleteOnClose, false); // lives on the stack here
    const auto *stack = dialog.findChild<QStackedWidget *>();
    QVERIFY(stack->currentWidget()->findChild<QProgressBar *>());
    auto *detail = dialog.findChild<QLabel *>(QStringLiteral("labelDetailProgress"));
    QVERIFY(detail && stack->currentWidget()->isAncestorOf(detail));
    dialog.setProgress(7, QStringLiteral("Fertig: 7 k von 10 k (0 m 1 s übrig)"));
    QCOMPARE(detail->text(), QStringLiteral("Fertig: 7 k von 10 k (0 m 1 s übrig)"));
}

void TestLCAnalysisProgressDialog::progressText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("librarySize");
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing done yet")
        << 0 << 100 << 100 << qint64(0) << "Fertig: 0 k von 10 k (0 m 0 s übrig)";
    QTest::newRow("half way") << 50 << 100 << 1000 << qint64(10000)
                              << "Fertig: 50 k von 100 k (0 m 10 s übrig)";
    QTest::newRow("minutes left") << 1 << 3000 << 3000 << qint64(1000)
                                  << "Fertig: 3 k von 9000 k (49 m 59 s übrig)";
    QTest::newRow("below 2 ms counts as 1")
        << 1 << 10 << 10000 << qint64(1) << "Fertig: 10 k von 100 k (0 m 0 s übrig)";
    QTest::newRow("under one combination per ms")
        << 1 << 1000 << 10 << qint64(100) << "Fertig: 0 k von 10 k (0 m 0 s übrig)";
    QTest::newRow("finished") << 763 << 763 << 763 << qint64(300)
                              << "Fertig: 582 k von 582 k (0 m 0 s übrig)";
}

void TestLCAnalysisProgressDialog::progressText()
{
    QFETCH(int, value);
    QFETCH(int, maximum);
    QFETCH(int, librarySize);
    QFETCH(qint64, elapsed);
    QFETCH(QString, text);
    QCOMPARE(LCAnalysisProgressDialog::progressText(value, maximum, librarySize, elapsed), text);
}

void TestLCAnalysisProgressDialog::showResultsListsDistinctPairs()
{
    const QVector<RamanLibrarySpectrum> spectra{
        spectrum(QStringLiteral("Quartz"), QStringLiteral("20")),
        spectrum(QStringLiteral("Albite"), QStringLiteral("100")),
        spectrum(QStringLiteral("albite"), QStringLiteral("3")),
    };
    const RamanLibrarySpectrum *s = spectra.constData();
    const QVector<LinearCombinationResult> results{
        {s + 0, s + 1, 9.87654},  {s + 1, s + 0, 9.87654},  {s + 2, s + 2, 10.0},
        {s + 2, s + 0, 0.123456}, {s + 0, s + 2, 0.123456}, {s + 1, s + 2, -1.0},
    };
    auto *dialog = new LCAnalysisProgressDialog;
    QPointer<LCAnalysisProgressDialog> guard(dialog);
    dialog->showResults(results);
    const auto *list = dialog->findChild<QListWidget *>();
    QVERIFY(dialog->findChild<QStackedWidget *>()->currentWidget()->isAncestorOf(list));
    QCOMPARE(itemTexts(list), (QStringList{QStringLiteral("Albite + Quartz (9.88)"),
                                           QStringLiteral("albite + albite (10)"),
                                           QStringLiteral("Quartz + albite (0.123)"),
                                           QStringLiteral("Albite + albite (-1)")}));
    QCOMPARE(list->item(0)->data(Qt::UserRole).toStringList(),
             (QStringList{QStringLiteral("100"), QStringLiteral("20")}));
    QCOMPARE(list->item(1)->data(Qt::UserRole).toStringList(),
             (QStringList{QStringLiteral("3"), QStringLiteral("3")}));
    QCOMPARE(list->item(2)->data(Qt::UserRole).toStringList(),
             (QStringList{QStringLiteral("20"), QStringLiteral("3")}));
    dialog->close();
    QTRY_VERIFY(guard.isNull());
}

void TestLCAnalysisProgressDialog::activatingAPairSelectsItsIds()
{
    const QVector<RamanLibrarySpectrum> spectra{
        spectrum(QStringLiteral("Calcite"), QStringLiteral("7")),
        spectrum(QStringLiteral("Gypsum"), QStringLiteral("12")),
    };
    const RamanLibrarySpectrum *s = spectra.constData();
    LCAnalysisProgressDialog dialog;
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    dialog.showResults({{s + 1, s + 1, 8.0}, {s + 1, s + 0, 7.5}});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy selected(&dialog, &LCAnalysisProgressDialog::idsSelected);
    auto *list = dialog.findChild<QListWidget *>();
    const QPoint centre = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).toStringList(),
             (QStringList{QStringLiteral("12"), QStringLiteral("7")}));
}

void TestLCAnalysisProgressDialog::finishedSearchShowsItsResults()
{
    const CombinationLibrary library = randomCombinationLibrary(40, 11);
    QFuture<QVector<LinearCombinationResult>> search = startSearch(library);
    auto *dialog = new LCAnalysisProgressDialog;
    QPointer<LCAnalysisProgressDialog> guard(dialog);
    dialog->watchSearch(search, library.spectra.size());
    dialog->show();
    const auto *stack = dialog->findChild<QStackedWidget *>();
    const auto *list = dialog->findChild<QListWidget *>();
    QTRY_VERIFY(stack->currentWidget()->isAncestorOf(list));
    QCOMPARE(list->count(), distinctPairs(search.result()).size());
    QVERIFY(list->count() >= combinationResultsKept / 2);
    const auto *bar = dialog->findChild<QProgressBar *>();
    QCOMPARE(bar->maximum(), 40);
    QCOMPARE(bar->value(), 40);
    QVERIFY(dialog->findChild<QLabel *>(QStringLiteral("labelDetailProgress"))
                ->text()
                .startsWith(QStringLiteral("Fertig: 1 k von 1 k (0 m ")));
    dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBoxResults"))
        ->button(QDialogButtonBox::Close)
        ->click();
    QTRY_VERIFY(guard.isNull());
}

void TestLCAnalysisProgressDialog::cancelStopsTheSearch()
{
    const CombinationLibrary library = randomCombinationLibrary(2000, 12);
    QFuture<QVector<LinearCombinationResult>> search = startSearch(library);
    auto *dialog = new LCAnalysisProgressDialog;
    QPointer<LCAnalysisProgressDialog> guard(dialog);
    dialog->watchSearch(search, library.spectra.size());
    dialog->show();
    dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBoxProgress"))
        ->button(QDialogButtonBox::Cancel)
        ->click();
    QVERIFY(search.isCanceled());
    search.waitForFinished();
    QVERIFY(search.progressValue() < search.progressMaximum());
    QTRY_VERIFY(guard.isNull());
}

void TestLCAnalysisProgressDialog::closesWhenTheLibraryReloads_data()
{
    QTest::addColumn<bool>("waitForResults");
    QTest::newRow("while searching") << false;
    QTest::newRow("showing results") << true;
}

void TestLCAnalysisProgressDialog::closesWhenTheLibraryReloads()
{
    QFETCH(bool, waitForResults);
    const CombinationLibrary library = randomCombinationLibrary(waitForResults ? 30 : 2000, 13);
    QFuture<QVector<LinearCombinationResult>> search = startSearch(library);
    RLibrary reference;
    auto *dialog = new LCAnalysisProgressDialog;
    QPointer<LCAnalysisProgressDialog> guard(dialog);
    dialog->watchSearch(search, library.spectra.size());
    dialog->watchLibrary(&reference);
    dialog->show();
    const auto *list = dialog->findChild<QListWidget *>();
    if (waitForResults)
        QTRY_VERIFY(list->count() > 0);
    reference.clear();
    QVERIFY(search.isCanceled() || search.isFinished());
    QVERIFY(!guard.isNull() && !dialog->isVisible());
    QCOMPARE(list->count(), 0);
    QTRY_VERIFY(guard.isNull());
    search.waitForFinished();
}

QTEST_MAIN(TestLCAnalysisProgressDialog)
#include "tst_lcanalysisprogressdialog.moc"
