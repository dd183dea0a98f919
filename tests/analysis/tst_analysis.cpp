#include "analysis/analysisfunctions.h"
#include "analysis/libraryexport.h"
#include "analysis/spectrumanalysis.h"
#include "library/libraryloader.h"
#include "library/matching/fingerprintmatcher.h"
#include "spectrum/spectrumfile.h"

#include "analysisidle.h"
#include "librarycopy.h"
#include "syntheticspectra.h"
#include "testfiles.h"

#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(SnapMode)

// Sampled on x = 980 ... 1019: the vertex lies between grid points.
static double parabola(double x)
{
    return 10 - (x - 1003.3) * (x - 1003.3) / 100;
}

// A loader of the first `count` demo reference spectra, copied into dir/library.
static std::shared_ptr<LibraryLoader> loaderOfCopy(const QTemporaryDir &dir, int count)
{
    return loaderOfCopy(TestFiles::rruffLibrary(), dir.filePath(S("library")), count);
}

class TestAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void snapping_data()
    {
        QTest::addColumn<double>("requested");
        QTest::addColumn<SnapMode>("mode");
        QTest::addColumn<double>("expectedX");
        QTest::addColumn<double>("expectedY");
        QTest::newRow("peak refined to the vertex")
            << 1000.0 << SnapMode::Maximum << 1003.3 << 10.0;
        QTest::newRow("no snapping keeps x")
            << 1000.0 << SnapMode::None << 1000.0 << parabola(1000);
        QTest::newRow("beyond the last x") << 2000.0 << SnapMode::Maximum << 2000.0 << 0.0;
        QTest::newRow("extreme at the first point")
            << 985.5 << SnapMode::Minimum << 985.5 << parabola(986);
        QTest::newRow("extreme at the last point")
            << 1019.0 << SnapMode::Minimum << 1019.0 << parabola(1019);
    }

    void snapping()
    {
        QFETCH(double, requested);
        QFETCH(SnapMode, mode);
        QFETCH(double, expectedX);
        QFETCH(double, expectedY);
        QVector<double> x;
        QVector<double> y;
        for (int i = 980; i <= 1019; ++i) {
            x.append(i);
            y.append(parabola(i));
        }
        const QPointF p = snappedPosition(x, y, requested, mode);
        QVERIFY2(std::abs(p.x() - expectedX) < 1e-9, qPrintable(QString::number(p.x(), 'g', 12)));
        QVERIFY2(std::abs(p.y() - expectedY) < 1e-9, qPrintable(QString::number(p.y(), 'g', 12)));
    }

    // Control points set by hand replace the dynamic spline; the background can be left in.
    void manualPointsReplaceTheDynamicSpline()
    {
        ProcessingControls manual;
        manual.backgroundMethod = ProcessingControls::ManualSplines;
        const ProcessingParameters p = processingParameters(manual, {100, 500, 900});
        QVERIFY(!p.dynamic && !p.useGoldindec && p.controlPoints.size() == 3);
        QVERIFY(p.has(SubtractBackground));
        QVERIFY(!processingParameters(manual, {100, 500, 900}, false).has(SubtractBackground));
    }

    void histogramAndHeadroom()
    {
        const QVector<HistogramBar> bars
            = lineFrequencyHistogram({{1001, 1009.9, 455}, {1005, 459}});
        QCOMPARE(bars.size(), 2);
        QCOMPARE(bars[0].from, 450.0);
        QCOMPARE(bars[0].value, 2.0 / 3);
        QCOMPARE(bars[1].to, 1010.0);
        QCOMPARE(bars[1].value, 1.0);

        const QVector<double> x{100, 200, 300, 400};
        const AxisRange all = yAxisRange({{x, {-1, 4, 2, 8}}}, 150, 350, false);
        QCOMPARE(all.lower, -1.0);
        QCOMPARE(all.upper, -1.0 + 1.25 * 9);
        const AxisRange visible = yAxisRange({{x, {-1, 4, 2, 8}}}, 150, 350, true);
        QCOMPARE(visible.lower, 2.0);
        QCOMPARE(visible.upper, 4.5);
    }

    void peakList()
    {
        QCOMPARE(peakListText({{1085.5, 1.0}, {281.25, 0.25}}),
                 QByteArray(
                     "# Peak positions: wavenumber, relative amplitude\n281.25 0.25\n1085.5 1\n"));
        QCOMPARE(exportSpectrumText({{1.5}, {2}}), QByteArray("1.5 2\n"));
    }

    void exportNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("undefined") << "Calcite" << 0
                                   << "Calcite__RXXXXXX__Raman__532__0__unoriented__Raman_Data_"
                                      "Processed__abcd1234.txt";
        QTest::newRow("45 degrees") << "My_Sample2" << 2
                                    << "My_Sample2__RXXXXXX__Raman__532__45__oriented__Raman_Data_"
                                       "Processed__abcd1234.txt";
        QTest::newRow("blank") << "Calcite A" << 0 << QString();
        QTest::newRow("hyphen") << "Calcite-A" << 0 << QString();
        QTest::newRow("bracket") << "Calcite(" << 0 << QString();
        QTest::newRow("empty") << "" << 0 << QString();
    }

    void exportNames()
    {
        QFETCH(QString, name);
        QFETCH(int, orientation);
        QFETCH(QString, fileName);
        QCOMPARE(isValidEntryName(name), !fileName.isEmpty());
        if (!fileName.isEmpty())
            QCOMPARE(libraryFileName(libraryExportRecord(name, 532, orientation, S("abcd1234"))),
                     fileName);
        QCOMPARE(chemistryMarkup(S("CaCO_3^")), S("CaCO<sub></sub>3<sup></sup>"));
        // The digest of the little-endian bytes of 1.0: 00 00 00 00 00 00 f0 3f.
        QCOMPARE(
            spectrumIdentifier({1.0}),
            QString::fromLatin1(QCryptographicHash::hash(QByteArray::fromHex("000000000000f03f"),
                                                         QCryptographicHash::Sha256)
                                    .toHex()
                                    .left(8)));
    }

    void exportRefusesFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty") << QString();
        QTest::newRow("missing") << S("missing");
        QTest::newRow("a file") << S("file");
    }

    void exportRefusesFolder()
    {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        QFile(dir.filePath(S("file"))).open(QIODevice::WriteOnly);
        LibraryExportOptions options;
        options.folder = folder.isEmpty() ? folder : dir.filePath(folder);
        options.record = libraryExportRecord(S("Calcite"), 532, 0, S("1"));
        expectWarning("not exporting");
        QVERIFY(!exportToLibrary({{1, 2}, {3, 4}}, options));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 1);
    }

    void exportedSpectrumIsFound()
    {
        QTemporaryDir dir;
        const std::shared_ptr<LibraryLoader> loader = loaderOfCopy(dir, 12);
        const QString folder = dir.filePath(S("library"));
        const int before = loader->library()->count();
        QCOMPARE(before, 12);

        SpectrumAnalysis analysis;
        analysis.setSpectrum(loadSpectrumFromCSV(TestFiles::calciteQuery()));
        QVERIFY(waitForAnalysisIdle(&analysis));
        const RamanData<Wavenumbers> processed = analysis.processedNow();
        QVERIFY(processed.size() > 100);

        LibraryExportOptions options;
        options.folder = folder;
        options.record
            = libraryExportRecord(S("MyCalcite"), 532, 0, spectrumIdentifier(processed.y));
        QVERIFY(exportToLibrary(processed, options));
        QVERIFY(!QFileInfo::exists(folder + S("/chemistry.csv")));
        options.chemistry = S("CaCO<sub>3</sub>");
        QVERIFY(exportToLibrary(processed, options)); // the same file again, now with chemistry
        QFile chemistry(folder + S("/chemistry.csv"));
        QVERIFY(chemistry.open(QIODevice::ReadOnly));
        QCOMPARE(chemistry.readAll(),
                 "MyCalcite-" + options.record.identifier.toUtf8() + " CaCO<sub>3</sub>\n");

        // The loaded library sees its rebuilt cache and reloads itself.
        QTRY_COMPARE_WITH_TIMEOUT(loader->library()->count(), before + 1, 20000);
        const std::shared_ptr<const ReferenceLibrary> library = loader->library();
        analysis.setLibrary(library);
        QVERIFY(waitForAnalysisIdle(&analysis));
        QCOMPARE(analysis.bestName(), S("MyCalcite"));
        QVERIFY(analysis.bestScore() > 9);
        QCOMPARE(library->info(analysis.bestIndex()).chemistry.formulaHtml, S("CaCO<sub>3</sub>"));
    }

    void badSpectra_data()
    {
        QTest::addColumn<RamanData<Wavenumbers>>("spectrum");
        QTest::addColumn<bool>("emptyLibrary");
        QTest::addColumn<int>("processedPoints");
        QTest::addColumn<int>("scores");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("empty") << RamanData<Wavenumbers>() << false << 0 << 0;
        QTest::newRow("one point") << RamanData<Wavenumbers>{{500}, {1}} << false << 0 << 0;
        QTest::newRow("all NaN") << RamanData<Wavenumbers>{{nan, 1, 2}, {1, nan, nan}} << false << 0
                                 << 0;
        QTest::newRow("unequal lengths") << RamanData<Wavenumbers>{{1, 2}, {1}} << false << 0 << 0;
        RamanData<Wavenumbers> holes = syntheticSpectrum({{1000, 1, 5}});
        holes.y[10] = nan;
        QTest::newRow("some NaN dropped") << holes << false << 1120 << 3;
        QTest::newRow("no library spectra")
            << syntheticSpectrum({{1000, 1, 5}}) << true << 1120 << 0;
    }

    void badSpectra()
    {
        QFETCH(RamanData<Wavenumbers>, spectrum);
        QFETCH(bool, emptyLibrary);
        QTemporaryDir dir;
        SpectrumAnalysis analysis;
        analysis.setLibrary(emptyLibrary ? ReferenceLibrary::empty()
                                         : loaderOfCopy(dir, 3)->library());
        if (!emptyLibrary) // usual before a library is set up, not worth a warning
            expectWarning(".");
        analysis.setSpectrum(spectrum);
        QVERIFY(waitForAnalysisIdle(&analysis));
        QTEST(int(analysis.outcome().processed.x.size()), "processedPoints");
        QTEST(int(analysis.outcome().scores.size()), "scores");
        QCOMPARE(analysis.bestName().isEmpty(), analysis.outcome().scores.isEmpty());
    }

    void newerRequestSupersedes()
    {
        QTemporaryDir dir;
        SpectrumAnalysis analysis;
        analysis.setLibrary(loaderOfCopy(dir, 20)->library());
        analysis.setSpectrum(loadSpectrumFromCSV(TestFiles::calciteQuery()));
        QSignalSpy spy(&analysis, &SpectrumAnalysis::changed);
        ProcessingControls controls;
        for (int minimum = 100; minimum <= 300; minimum += 5) {
            controls.cutMinimum = minimum;
            analysis.setControls(controls);
        }
        QVERIFY(waitForAnalysisIdle(&analysis));
        // The run started first and the last request are done; the 39 in between were dropped.
        int processedChanges = 0;
        for (const QList<QVariant> &arguments : qAsConst(spy))
            processedChanges += arguments[0].value<SpectrumAnalysis::Changes>().testFlag(
                SpectrumAnalysis::ProcessedChanged);
        QCOMPARE(processedChanges, 1);
        QVERIFY(analysis.outcome().processed.x.constFirst() >= 300);
        QCOMPARE(analysis.outcome().scores.size(), 20);
    }

    void manualLinesSearch()
    {
        // A reference with lines at 500 and 1000; picking only 1000 matches it fully once the other
        // reference lines are ignored.
        SpectrumFingerprint reference;
        reference.xFirst = 100;
        reference.xLast = 1500;
        reference.noise = 0.001;
        reference.peaks = {{1000, 5, 1, 1}, {500, 5, 1, 1}};
        const SpectrumFingerprint picked
            = SpectrumAnalysis::linesFingerprint({{1000, 1}}, 100, 1500);
        FingerprintParameters p;
        const double penalised = matchFingerprints(picked, reference, p);
        p.ignoreUnmatchedMeasured = true;
        QCOMPARE(matchFingerprints(reference, picked, p), 10.0);
        QVERIFY(penalised < 7);
    }
};

QTEST_MAIN(TestAnalysis)
#include "tst_analysis.moc"
