#include "../common/modaldialogs.h"
#include "analysis/analysissettings.h"
#include "analysis/ui/exportforlibrarydialog.h"
#include "analysis/ui/lineselectplotcanvas.h"
#include "analysis/ui/spectrumanalysiswindow.h"
#include "analysis/ui/spectrumlinemarker.h"
#include "analysis/ui/spectrumprocessingwidget.h"
#include "library/libraryloader.h"
#include "library/model/ramanlibrarymodel.h"
#include "spectrum/spectrumfile.h"

#include "analysisidle.h"
#include "librarycopy.h"
#include "testfiles.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <QtTest>
#include <QtWidgets>

#include <cmath>

namespace {

const QString queryFile = TestFiles::calciteQuery();

// A plot whose first curve has a peak at 1003.3 1/cm, with a line canvas.
struct PeakPlot
{
    QwtPlot plot;
    LineSelectPlotCanvas *canvas = new LineSelectPlotCanvas(&plot);

    PeakPlot()
    {
        plot.setCanvas(canvas);
        QVector<double> x;
        QVector<double> y;
        for (int i = 900; i <= 1100; ++i) {
            x.append(i);
            y.append(std::exp(-std::pow((i - 1003.3) / 8, 2)));
        }
        auto *curve = new QwtPlotCurve;
        curve->setSamples(x, y);
        curve->attach(&plot);
        plot.setAxisScale(QwtPlot::xBottom, 900, 1100);
        plot.setAxisScale(QwtPlot::yLeft, 0, 1.25);
        plot.resize(800, 400);
        plot.show();
        plot.replot();
    }
    QPoint pixel(double x, double y) const
    {
        return QPoint(int(plot.transform(QwtPlot::xBottom, x)),
                      int(plot.transform(QwtPlot::yLeft, y)));
    }
};

} // namespace

class TestAnalysisWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void canvasPlacesLines();
    void canvasRemovesAndDrops();
    void widgetShowsSearch();
    void windowSignals();
    void windowStartsFromStoredOrLastSettings_data();
    void windowStartsFromStoredOrLastSettings();
    void mineralSearchMixturesAndFiles();
    void noLibraryOffersManagement();
    void exportDialog_data();
    void exportDialog();

private:
    QTemporaryDir m_dir;
    std::shared_ptr<LibraryLoader> m_library;
};

void TestAnalysisWidgets::initTestCase()
{
    m_library = loaderOfCopy(TestFiles::rruffLibrary(), m_dir.filePath(S("library")), 30);
    QVERIFY(m_library);
    QCOMPARE(m_library->library()->count(), 30);
}

void TestAnalysisWidgets::canvasPlacesLines()
{
    PeakPlot p;
    QSignalSpy changed(p.canvas, &LineSelectPlotCanvas::linesChanged);
    p.canvas->setCursorEnabled(true);
    p.canvas->setSnapMode(SpectrumLineMarker::SnapToMaximum);
    // Two clicks near the same peak snap to one place: one line.
    for (double x : {998.0, 1006.0}) {
        QTest::mouseMove(p.canvas, p.pixel(x, 0.5));
        QTest::mouseClick(p.canvas, Qt::LeftButton, Qt::NoModifier, p.pixel(x, 0.5));
    }
    QCOMPARE(p.canvas->lines().size(), 1);
    QVERIFY(std::abs(p.canvas->lines()[0]->wavenumber() - 1003.3) < 0.1);
    QCOMPARE(changed.size(), 1);

    // A line placed by value stays there even though the mouse snaps to peaks.
    p.canvas->placeLineAt(1000.0);
    QCOMPARE(p.canvas->lines().size(), 2);
    QCOMPARE(p.canvas->lines()[1]->wavenumber(), 1000.0);
    QVERIFY(std::abs(p.canvas->lines()[0]->relativeAmplitude() - 1) < 0.01);
}

void TestAnalysisWidgets::canvasRemovesAndDrops()
{
    PeakPlot p;
    p.canvas->setCursorEnabled(true);
    p.canvas->placeLineAt(950);
    p.canvas->placeLineAt(1050);
    QSignalSpy changed(p.canvas, &LineSelectPlotCanvas::linesChanged);
    QTest::mouseClick(p.canvas, Qt::RightButton, Qt::NoModifier, p.pixel(1000, 0.5));
    QCOMPARE(p.canvas->lines().size(), 2);
    QCOMPARE(changed.size(), 1);
    QTest::mouseClick(p.canvas, Qt::RightButton, Qt::NoModifier, p.pixel(1050, 0.1));
    QCOMPARE(p.canvas->lines().size(), 1);
    QCOMPARE(p.canvas->lines()[0]->wavenumber(), 950.0);

    QSignalSpy dropped(p.canvas, &LineSelectPlotCanvas::fileDroppedOnWidget);
    for (const QList<QUrl> &urls :
         {QList<QUrl>{QUrl::fromLocalFile(S("/a.txt")), QUrl::fromLocalFile(S("/b.txt"))},
          QList<QUrl>{QUrl::fromLocalFile(S("/a.txt"))}}) {
        QMimeData data;
        data.setUrls(urls);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        static_cast<QObject *>(p.canvas)->event(&drop);
    }
    QCOMPARE(dropped.size(), 1);
    QCOMPARE(dropped[0][0].toString(), S("/a.txt"));
}

void TestAnalysisWidgets::widgetShowsSearch()
{
    SpectrumProcessingWidget widget;
    widget.resize(1600, 900);
    widget.show();
    widget.setLibrary(m_library->library());
    widget.setSpectrum(loadSpectrumFromCSV(queryFile));
    QVERIFY(waitForAnalysisIdle(widget.analysis()));
    auto *table = widget.findChild<QTableView *>(S("TViewRaBib"));
    QCOMPARE(table->model()->rowCount(), 30);
    // Best first, and the automatic suggestion names it.
    const QString best = table->model()->index(0, 1).data().toString();
    QCOMPARE(widget.resultText(), best);
    QVERIFY(!widget.canvas()->lines().isEmpty()); // peaks found by the peak detection
    // The lines stay visible where they belong when the layout narrows the plot.
    widget.resize(1200, 900);
    auto *mainPlot = widget.findChild<QwtPlot *>(S("mainPlot"));
    QTest::qWait(50);
    for (const SpectrumLineMarker *line : widget.canvas()->lines()) {
        const QPoint top(int(mainPlot->transform(QwtPlot::xBottom, line->wavenumber())), 2);
        QVERIFY2(line->mask().contains(top), qPrintable(QString::number(line->wavenumber())));
    }

    // Score, name and every formula are in view without scrolling sideways.
    const QHeaderView *header = table->horizontalHeader();
    const int formula = RamanLibraryModel::FormulaColumn;
    QVERIFY(header->sectionViewportPosition(formula) + header->sectionSize(formula)
            <= table->viewport()->width());
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        const QModelIndex index = table->model()->index(row, formula);
        QVERIFY2(table->itemDelegateForColumn(formula)->sizeHint({}, index).width()
                     <= header->sectionSize(formula),
                 qPrintable(index.data().toString()));
    }

    table->selectAll();
    QCOMPARE(widget.shownReferenceCount(), 15);
    table->selectRow(3);
    QCOMPARE(widget.shownReferenceCount(), 1);

    auto *selector = widget.findChild<QComboBox *>(S("resultSelectCombo"));
    selector->setCurrentIndex(1);
    QCOMPARE(widget.resultText(), table->model()->index(3, 1).data().toString());
    selector->setCurrentIndex(3);
    QCOMPARE(widget.resultText(), S("nicht identifizierbar"));

    // Smoothing switched off: a new width recomputes, with the same result.
    const RamanData<Wavenumbers> processed = widget.analysis()->outcome().processed;
    widget.findChild<QSpinBox *>(S("smoothWidth"))->setValue(9);
    QVERIFY(widget.analysis()->isBusy());
    QVERIFY(waitForAnalysisIdle(widget.analysis()));
    QCOMPARE(widget.analysis()->outcome().processed, processed);

    // Ctrl+G selects the best row, with Ctrl still held while the row becomes current.
    widget.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&widget));
    table->clearSelection();
    table->setFocus();
    QTest::keyClick(table, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(table->selectionModel()->selectedRows().first().row(), 0);

    auto *filter = widget.findChild<QLineEdit *>(S("EditScrollToInput"));
    QTest::keyClicks(filter, S("Alb"));
    QVERIFY(table->model()->rowCount() < 30);
    QCOMPARE(widget.findChild<QLabel *>(S("lNumRows"))->text(),
             QString::number(table->model()->rowCount()));
}

void TestAnalysisWidgets::windowSignals()
{
    auto *window = new SpectrumAnalysisWindow(m_library->library(), loadSpectrumFromCSV(queryFile));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    // It fits a laptop screen of 1366 x 768, also before the first search has run.
    const QSize least = window->minimumSizeHint();
    QVERIFY2(least.width() <= 1300 && least.height() <= 680,
             qPrintable(S("%1 x %2").arg(least.width()).arg(least.height())));
    // The filters' hints stay readable at that size.
    window->resize(least);
    for (const QLineEdit *filter : window->findChildren<QLineEdit *>()) {
        const QString hint = filter->placeholderText();
        if (filter->isVisible() && !hint.isEmpty())
            QVERIFY2(filter->width() - 8 >= filter->fontMetrics().horizontalAdvance(hint),
                     qPrintable(hint));
    }
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QVERIFY(waitForAnalysisIdle(window->analysisWidget()->analysis()));
    QSignalSpy saved(window, &SpectrumAnalysisWindow::saveRequested);
    QSignalSpy closed(window, &SpectrumAnalysisWindow::dialogClosed);
    QTest::keyClick(window->windowHandle(), Qt::Key_S, Qt::ControlModifier);
    QTRY_COMPARE(saved.size(), 1);
    QVERIFY(window->isVisible());
    QVERIFY(!window->suggestedAuto().isEmpty());
    QCOMPARE(window->finalIdentification(), window->suggestedAuto());
    QPointer<SpectrumAnalysisWindow> guard(window);
    window->close();
    QCOMPARE(closed.size(), 1);
    QCOMPARE(saved.size(), 1);
    QTRY_VERIFY(guard.isNull());
}

void TestAnalysisWidgets::windowStartsFromStoredOrLastSettings_data()
{
    QTest::addColumn<QByteArray>("last"); // the user's last analysis; empty: none yet
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("warnings");
    QTest::addColumn<int>("searchMethod");
    QTest::addColumn<int>("background");
    QTest::addColumn<int>("width");
    const QByteArray last = R"({"search_method": "correlation", "background_method": "goldindec",
                                "smooth": true, "smoothing_width": 9})";
    QTest::newRow("first use") << QByteArray() << QByteArray() << 0 << 0 << 1 << 5;
    QTest::newRow("fresh point") << last << QByteArray() << 0 << 1 << 0 << 9;
    QTest::newRow("reopened point")
        << last
        << QByteArray(R"({"search_method": "manual_lines", "background_method": "manual_splines",
                          "control_points": [300, 1200, 2500], "manual_lines": [[1086, 1]],
                          "smoothing_width": 7})")
        << 0 << 2 << 2 << 7;
    QTest::newRow("bad stored values")
        << last << QByteArray(R"({"search_method": "wavelet", "background_method": "splines",
                          "smoothing_width": 1000, "control_points": "many"})")
        << 3 << 1 << 1 << 9;
}

void TestAnalysisWidgets::windowStartsFromStoredOrLastSettings()
{
    QFETCH(QByteArray, last);
    QFETCH(QByteArray, stored);
    QFETCH(int, warnings);
    QFETCH(int, searchMethod);
    QFETCH(int, background);
    QFETCH(int, width);
    QSettings().clear();
    if (!last.isEmpty())
        rememberAnalysisSettings(
            analysisSettingsFromJson(QJsonDocument::fromJson(last).object(), {}));
    const AnalysisSettings before = lastAnalysisSettings();
    for (int i = 0; i < warnings; ++i)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(S("^analysis setting .* unusable")));
    SpectrumAnalysisWindow window(m_library->library(), loadSpectrumFromCSV(queryFile), nullptr,
                                  QJsonDocument::fromJson(stored).object());
    window.show();
    SpectrumProcessingWidget &widget = *window.analysisWidget();
    // Shown and used.
    QCOMPARE(widget.findChild<QComboBox *>(S("searchMethodCombo"))->currentIndex(), searchMethod);
    QCOMPARE(widget.findChild<QComboBox *>(S("cBoxBackgroundMethod"))->currentIndex(), background);
    QCOMPARE(widget.findChild<QSpinBox *>(S("smoothWidth"))->value(), width);
    QCOMPARE(widget.analysis()->searchSettings().method, searchMethod);
    QCOMPARE(widget.analysis()->controls().backgroundMethod, background);
    QCOMPARE(widget.analysis()->controls().smoothingWidth, width);
    if (searchMethod == SearchSettings::ManualLines) {
        QCOMPARE(widget.analysis()->processingParameters().controlPoints,
                 QVector<double>({300, 1200, 2500}));
        QCOMPARE(widget.canvas()->lines().size(), 1);
    }
    // Opening a point leaves the user's last settings alone; what the user changes replaces them.
    QVERIFY(lastAnalysisSettings() == before);
    widget.findChild<QSpinBox *>(S("smoothWidth"))->setValue(11);
    QCOMPARE(lastAnalysisSettings().controls.smoothingWidth, 11);
    QCOMPARE(lastAnalysisSettings().searchMethod, searchMethod);
    QVERIFY(lastAnalysisSettings().controlPoints.isEmpty());
}

void TestAnalysisWidgets::mineralSearchMixturesAndFiles()
{
    SpectrumAnalysisWindow window(m_library->library(), loadSpectrumFromCSV(queryFile));
    SpectrumProcessingWidget &widget = *window.analysisWidget();
    window.show();
    auto *table = widget.findChild<QTableView *>(S("TViewRaBib"));
    auto *method = widget.findChild<QComboBox *>(S("searchMethodCombo"));
    method->setCurrentIndex(SearchSettings::Minerals);
    QVERIFY(waitForAnalysisIdle(widget.analysis()));

    // One scored row per mineral, best first; the answer alone carries a confidence.
    QSet<QString> minerals;
    for (int i = 0; i < m_library->library()->count(); ++i)
        minerals.insert(m_library->library()->info(i).name);
    const QVector<double> &scores = widget.analysis()->outcome().scores;
    QCOMPARE(int(std::count_if(scores.begin(), scores.end(), [](double s) { return s >= 0; })),
             minerals.size());
    const QAbstractItemModel *rows = table->model();
    QCOMPARE(widget.resultText(), rows->index(0, RamanLibraryModel::NameColumn).data().toString());
    QVERIFY(!table->isColumnHidden(RamanLibraryModel::ConfidenceColumn));
    const QString confidence
        = rows->index(0, RamanLibraryModel::ConfidenceColumn).data().toString();
    QVERIFY2(S("sicher wahrscheinlich unsicher").split(QLatin1Char(' ')).contains(confidence),
             qPrintable(confidence));
    QCOMPARE(rows->index(1, RamanLibraryModel::ConfidenceColumn).data().toString(), QString());
    // Calcite is its own group's name in the IMA list; the group answer is stored as shown.
    const QString group = rows->index(0, RamanLibraryModel::GroupColumn).data().toString();
    QVERIFY2(group.startsWith(S("Calcite: ")), qPrintable(group));
    QVERIFY(window.autoGroup().startsWith(S("Calcite: Calcite")));
    QVERIFY(rows->headerData(RamanLibraryModel::GroupColumn, Qt::Horizontal, Qt::ToolTipRole)
                .toString()
                .contains(S("IMA")));

    // The plot shows no lines here; the peak list holds the peaks found, calcite's at 1086.
    ModalAnswers answers;
    answers.file = m_dir.filePath(S("peaks.txt"));
    runAnswering([&widget] { widget.findChild<QAction *>(S("actionExportPeaks"))->trigger(); },
                 answers);
    QFile peaks(answers.file);
    QVERIFY(answers.texts.isEmpty() && peaks.open(QIODevice::ReadOnly));
    QVERIFY2(peaks.readAll().contains("\n108"), qPrintable(peaks.fileName()));

    // The mixture fit lists mixes containing the best mineral; picking one shows its spectra.
    widget.findChild<QAction *>(S("actionStartMixtureFit"))->trigger();
    auto *choices = widget.findChild<QListWidget *>(S("listWidgetResults"));
    QTRY_VERIFY_WITH_TIMEOUT(choices->count() > 0, 20000);
    QVERIFY2(choices->item(0)->text().contains(widget.resultText()),
             qPrintable(choices->item(0)->text()));
    emit choices->itemActivated(choices->item(0));
    QCOMPARE(widget.shownReferenceCount(), choices->item(0)->text().count(QLatin1Char('+')) + 1);

    method->setCurrentIndex(SearchSettings::PeakDetection);
    QVERIFY(waitForAnalysisIdle(widget.analysis()));
    QVERIFY(table->isColumnHidden(RamanLibraryModel::ConfidenceColumn)
            && table->isColumnHidden(RamanLibraryModel::GroupColumn)
            && window.autoGroup().isEmpty());

    // A spectrum file dropped on the plot is drawn under its file name; an unreadable one is
    // refused with a message and changes nothing.
    table->clearSelection();
    QVERIFY(widget.addReferenceFile(queryFile));
    QCOMPARE(widget.shownReferenceCount(), 1);
    const QwtPlotItemList curves
        = widget.findChild<QwtPlot *>(S("mainPlot"))->itemList(QwtPlotItem::Rtti_PlotCurve);
    QVERIFY(std::any_of(curves.begin(), curves.end(), [](const QwtPlotItem *curve) {
        return curve->title().text() == S("Calcite__R040170__Raman__5…ed__20886.txt");
    }));
    QString refused;
    answerNextModal<QMessageBox>([&refused](QMessageBox *box) {
        refused = box->windowTitle();
        box->reject();
    });
    QVERIFY(!widget.addReferenceFile(m_dir.filePath(S("missing.jdx"))));
    QCOMPARE(refused, S("Spektrum nicht lesbar"));
    QCOMPARE(widget.shownReferenceCount(), 1);
}

// Without a library the table says why it is empty and asks for the management; a library set up
// meanwhile replaces the hint by its spectra.
void TestAnalysisWidgets::noLibraryOffersManagement()
{
    auto empty = std::make_shared<LibraryLoader>();
    empty->setLibraryFolders({});
    empty->loadNow();
    SpectrumAnalysisWindow window(empty->library(), loadSpectrumFromCSV(queryFile));
    window.show();
    auto *hint = window.findChild<QWidget *>(S("noLibraryHint"));
    QVERIFY(hint && hint->isVisible());
    QSignalSpy asked(window.analysisWidget(), &SpectrumProcessingWidget::manageLibrariesRequested);
    hint->findChild<QPushButton *>()->click();
    QCOMPARE(asked.count(), 1);

    window.analysisWidget()->setLibrary(m_library->library());
    QVERIFY(!hint->isVisible());
    QCOMPARE(window.findChild<QTableView *>(S("TViewRaBib"))->model()->rowCount(), 30);
}

void TestAnalysisWidgets::exportDialog_data()
{
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("name");
    QTest::newRow("letters") << "Calcite"
                             << "Calcite";
    QTest::newRow("not allowed") << "Calcite (1)"
                                 << "";
}

void TestAnalysisWidgets::exportDialog()
{
    QFETCH(QString, proposed);
    ExportForLibraryDialog dialog(S("abcd1234"), proposed);
    dialog.show();
    QTEST(dialog.findChild<QLineEdit *>(S("name"))->text(), "name");
    auto *chemistry = dialog.findChild<QLineEdit *>(S("chemistry"));
    chemistry->setFocus();
    QTest::keyClicks(chemistry, S("CaCO_3"));
    QCOMPARE(chemistry->text(), S("CaCO<sub>3</sub>"));
    QCOMPARE(dialog.findChild<QLabel *>(S("labelPreviewChemistry"))->text(), S("CaCO<sub>3</sub>"));

    // Without a valid name or an existing folder the dialog stays open after a message.
    QTimer::singleShot(0, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    dialog.accept();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestAnalysisWidgets)
#include "tst_analysiswidgets.moc"
