#include "analysis/ui/correlationparametersdialog.h"
#include "analysis/ui/lcanalysisprogressdialog.h"
#include "analysis/ui/richtextitemdelegate.h"
#include "combinationfixture.h"
#include "core/appidentity.h"
#include "core/librarysettings.h"
#include "core/pathmanager.h"
#include "library/install/libraryinstaller.h"
#include "library/install/librarysources.h"
#include "library/librarycache.h"
#include "library/libraryloader.h"
#include "library/model/mineralsortfilterproxymodel.h"
#include "library/model/ramanlibrarymodel.h"
#include "library/ui/librarydownloaddialog.h"
#include "library/ui/librarymanagementdialog.h"
#include "libraryserver.h"
#include "modaldialogs.h"
#include "nicepicstore.h"
#include "testfiles.h"

#include <QtTest>
#include <QtWidgets>

namespace {

rruff_infos info(const char *name, const char *formula, const char *number)
{
    rruff_infos row;
    row.name = QString::fromUtf8(name);
    row.rruffId = S("R0%1").arg(QLatin1String(number));
    row.number = QString::fromUtf8(number);
    row.library = S("rruff");
    row.chemistry = Chemistry::fromFormula(QString::fromUtf8(formula));
    return row;
}

QVector<rruff_infos> minerals()
{
    return {
        info("Quartz", "SiO<sub>2</sub>", "10"),
        info("Pyrite", "FeS<sub>2</sub>", "11"),
        info("Melanterite", "Fe<sup>2+</sup>(SO<sub>4</sub>)·7H<sub>2</sub>O", "12"),
        info("Coquimbite",
             "Fe<sup>3+</sup><sub>2</sub>(SO<sub>4</sub>)<sub>3</sub>·9H<sub>2</sub>O", "13"),
        info("Anhydrite", "CaSO<sub>4</sub>", "14"),
        info("Siderite", "FeCO<sub>3</sub>", "15"),
    };
}

QStringList names(const QAbstractItemModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result << model.index(row, RamanLibraryModel::NameColumn).data().toString();
    return result;
}

const char entryJson[] = R"({"category": "%1", "url": "%2", "readable-name": {"de_DE": "%3"}, )"
                         R"("install-handler": "rruff-zip", "preselect": %4})";

} // namespace

// The library table and its dialogs, and the management of library folders.
class TestLibraryWidgets : public QObject
{
    Q_OBJECT

private slots:
    void widthScale_data()
    {
        QTest::addColumn<int>("slider");
        QTest::addColumn<double>("scale");
        QTest::newRow("unset") << -1 << 1.0;
        QTest::newRow("four times") << 49 << 4.0;
        QTest::newRow("beyond five falls back") << 100 << 1.0;
        QTest::newRow("zero falls back") << -51 << 1.0;
        QTest::newRow("narrow") << -26 << 0.25;
    }

    void widthScale()
    {
        QFETCH(int, slider);
        QFETCH(double, scale);
        QCOMPARE(CorrelationParametersDialog::widthScale(slider), scale);
        QCOMPARE(CorrelationParametersDialog().parameters(slider).maxWidth, 70 * scale);
    }

    // Every formula of the real chemistry fits the row height the table uses.
    void realFormulasFitTheRow()
    {
        const ChemistryTable table = readChemistryFile(S(":/chemistry.csv"));
        QVector<rruff_infos> rows;
        for (auto it = table.cbegin(); it != table.cend(); ++it) {
            rruff_infos row;
            row.name = it.key();
            row.chemistry = it.value();
            if (!row.chemistry.formulaHtml.isEmpty())
                rows.append(row);
        }
        QVERIFY(rows.size() > 500);
        RichTextItemDelegate delegate;
        RamanLibraryModel model;
        model.setLibraryData(rows);
        QStyleOptionViewItem option;
        const int height = delegate.rowHeight(option.font);
        for (int row = 0; row < rows.size(); ++row) {
            const int needed = delegate.sizeHint(option, model.index(row, 2)).height();
            QVERIFY2(needed <= height, qPrintable(rows.at(row).chemistry.formulaHtml));
        }
    }

    void cutOffMarker_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("marked");
        QTest::newRow("short") << "SiO<sub>2</sub>" << false;
        QTest::newRow("long")
            << "(Na,Ca)<sub>3</sub>Ca<sub>2</sub>(Fe<sup>2+</sup>,Mg)<sub>4</sub>(Si<sub>8</sub>O"
               "<sub>22</sub>)(OH)<sub>2</sub>"
            << true;
    }

    void cutOffMarker()
    {
        QFETCH(QString, html);
        RamanLibraryModel model;
        model.setLibraryData({info("Test", html.toUtf8().constData(), "1")});
        RichTextItemDelegate delegate;
        QTableView view;
        view.setModel(&model);
        view.setItemDelegateForColumn(RamanLibraryModel::FormulaColumn, &delegate);
        view.verticalHeader()->setDefaultSectionSize(delegate.rowHeight(view.font()));
        view.setColumnWidth(RamanLibraryModel::FormulaColumn,
                            delegate.formulaColumnWidth(view.font()));
        view.resize(760, 420);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage shot = view.viewport()->grab().toImage();
        const QRect cell = view.visualRect(model.index(0, RamanLibraryModel::FormulaColumn));
        const qreal ratio = shot.devicePixelRatio();
        const QColor corner = shot.pixelColor(
            QPointF((cell.right() - 1) * ratio, (cell.bottom() - 1) * ratio).toPoint());
        QTEST(corner == view.palette().color(QPalette::WindowText), "marked");
    }

    void init()
    {
        QSettings().clear();
        m_store.configure();
        m_store.clear();
        LibrarySettings::storeLibraryPaths(
            {{m_first, true, false, {}}, {m_second, false, false, {}}});
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        QFile::remove(LibraryCache::cachePath(m_first));
        QFile::remove(LibraryCache::cachePath(m_second));
    }

    void placeholdersAndColumns()
    {
        RamanLibraryModel model;
        MineralSortFilterProxyModel proxy;
        proxy.setSourceModel(&model);
        QAbstractItemModelTester tester(&proxy,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        // Rows that stand in while loading match no filter.
        QVERIFY(model.rowCount() > 0);
        proxy.setFilter(S("Quartz"), QString());
        QCOMPARE(proxy.rowCount(), 0);

        model.setLibraryData(minerals());
        QStringList melanterite;
        for (int column = 0; column < 7; ++column)
            melanterite << model.index(2, column).data().toString();
        QCOMPARE(melanterite.join(QLatin1Char('|')),
                 S("--|Melanterite|Fe<sup>2+</sup>(SO<sub>4</sub>)·7H<sub>2</sub>O|12|"
                   "R012|0|rruff"));
    }

    void scores_data()
    {
        QTest::addColumn<double>("score");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<bool>("strange");
        QTest::newRow("exactly 9") << 9.0 << "9.00" << QColor(98, 239, 96) << false;
        QTest::newRow("just below 9") << 8.999 << "9.00" << QColor(139, 244, 139) << false;
        QTest::newRow("5") << 5.0 << "5.00" << QColor(240, 215, 184) << false;
        QTest::newRow("4.99") << 4.99 << "4.99" << QColor() << false;
        QTest::newRow("above 10") << 10.5 << "10.50" << QColor(98, 239, 96) << true;
        QTest::newRow("not a number") << qQNaN() << "nan" << QColor() << true;
    }

    void scores()
    {
        QFETCH(double, score);
        QFETCH(bool, strange);
        RamanLibraryModel model;
        model.setLibraryData(minerals());
        QVector<double> scores(6, 1.0);
        scores[3] = score;
        scores[4] = -1;
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setResultScores(scores);
        QCOMPARE(changed.size(), 1);

        if (strange)
            expectWarning("^strange result value:");
        QTEST(model.index(3, 0).data().toString(), "shown");
        QTEST(model.index(3, 0).data(Qt::BackgroundRole).value<QColor>(), "color");

        QCOMPARE(model.index(4, 0).data().toString(), S("--"));
        QVERIFY(!model.index(4, 0).data(Qt::BackgroundRole).isValid());
    }

    void filter_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("elements");
        QTest::addColumn<QString>("kept");
        const auto row = [](const char *tag, const char *name, const char *elements,
                            const char *kept) { QTest::newRow(tag) << name << elements << kept; };
        row("capital: prefix", "Qu", "", "Quartz");
        row("lower case: anywhere", "qu", "", "Quartz Coquimbite");
        row("S is not Si", "", "S", "Pyrite Melanterite Coquimbite Anhydrite");
        row("elements and fragment", "", "Fe, S :O4", "Melanterite Coquimbite");
        row("fragment with charge", "", ":3+", "Coquimbite");
        row("name and elements", "M", "Fe", "Melanterite");
    }

    void filter()
    {
        QFETCH(QString, name);
        QFETCH(QString, elements);
        RamanLibraryModel model;
        model.setLibraryData(minerals());
        MineralSortFilterProxyModel proxy;
        proxy.setSourceModel(&model);
        QAbstractItemModelTester tester(&proxy,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        proxy.setFilter(S("Py"), S("Ca"));
        proxy.setFilter(name, elements);
        QTEST(names(proxy).join(QLatin1Char(' ')), "kept");
    }

    void sortingAndPartialScores()
    {
        RamanLibraryModel model;
        model.setLibraryData(minerals());
        model.setResultScores({2.5, -1, 9.25, 10, -1, 0});
        MineralSortFilterProxyModel proxy;
        proxy.setSourceModel(&model);
        proxy.sort(0, Qt::DescendingOrder);
        // Numerically, not as text ("10.00" < "9.25"); rows without a score last.
        QCOMPARE(names(proxy).mid(0, 4).join(QLatin1Char(' ')),
                 S("Coquimbite Melanterite Quartz Siderite"));
        // An answer put before a better-scored neighbour stays first, and says why.
        model.setResultScores({2.5, -1, 9.25, 10, -1, 0}, {}, {}, 2, S("why"));
        proxy.sort(0, Qt::DescendingOrder);
        QCOMPARE(names(proxy).mid(0, 2).join(QLatin1Char(' ')), S("Melanterite Coquimbite"));
        QCOMPARE(model.index(2, 0).data(Qt::ToolTipRole).toString(), S("why"));
        // Fewer scores than rows colour nothing; a reload forgets the scores.
        model.setResultScores({9.5, 9.5, 9.5});
        QCOMPARE(model.index(1, 0).data().toString(), S("9.50"));
        QVERIFY(!model.index(1, 0).data(Qt::BackgroundRole).isValid());
        QCOMPARE(model.index(5, 0).data().toString(), S("--"));
        model.setLibraryData(minerals());
        QCOMPARE(model.index(1, 0).data().toString(), S("--"));
    }

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
        QVector<rruff_infos> spectra(3);
        const QStringList names = S("Quartz:20 Albite:100 albite:3").split(QLatin1Char(' '));
        for (int i = 0; i < 3; ++i) {
            spectra[i].name = names[i].section(QLatin1Char(':'), 0, 0);
            spectra[i].number = names[i].section(QLatin1Char(':'), 1);
        }
        LCAnalysisProgressDialog dialog;
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.showResults({{0, 1, 9.87654},
                            {1, 0, 9.87654},
                            {2, 2, 10.0},
                            {2, 0, 0.123456},
                            {0, 2, 0.123456},
                            {1, 2, -1.0}},
                           spectra);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *list = dialog.findChild<QListWidget *>();
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts.append(list->item(row)->text());
        // Never one mineral with itself, whatever the case of its name.
        QCOMPARE(texts.join(QLatin1Char(';')), S("Albite + Quartz (9.88);Quartz + albite (0.123)"));
        QSignalSpy selected(&dialog, &LCAnalysisProgressDialog::idsSelected);
        const QPoint centre = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.at(0).at(0).toStringList(), (QStringList{S("20"), S("3")}));
    }
    void cancellingStopsTheSearch()
    {
        const CombinationLibrary library = randomCombinationLibrary(2000, 13);
        QFuture<QVector<LinearCombinationResult>> search
            = library.search(randomMeasured(3, 10, 30));
        QPointer<LCAnalysisProgressDialog> dialog = new LCAnalysisProgressDialog;
        dialog->watchSearch(search, library.spectra);
        dialog->show();
        dialog->findChild<QDialogButtonBox *>(S("buttonBoxProgress"))
            ->button(QDialogButtonBox::Cancel)
            ->click();
        QVERIFY(!dialog->isVisible());
        search.waitForFinished();
        QVERIFY(search.isCanceled() && search.progressValue() < search.progressMaximum());
        QTRY_VERIFY(dialog.isNull());
    }

    void initTestCase()
    {
        AppIdentity::apply();
        QVERIFY(m_server.listen());
        m_server.addRoute("/minerals.zip", {200, TestZip::build(TestZip::rruffSpectra(2))});
        const QString entry = QString::fromUtf8(entryJson);
        const QString url = m_server.url(S("/minerals.zip"));
        const QString sources = S("{\"libraries\": {\"test-minerals\": %1, \"test-pigments\": %2}}")
                                    .arg(entry.arg(S("minerals"), url, S("Minerale"), S("true")),
                                         entry.arg(S("pigments"), url, S("Pigmente"), S("false")));
        m_sources = m_dir.filePath(S("sources.json"));
        QVERIFY(TestFiles::write(m_sources, sources.toUtf8()));
        m_first = m_dir.filePath(S("first"));
        m_second = m_dir.filePath(S("second"));
        const Entries spectra = TestZip::rruffSpectra(5);
        for (int i = 0; i < spectra.size(); ++i)
            QVERIFY(
                TestFiles::write((i < 3 ? m_first : m_second) + QLatin1Char('/') + spectra[i].first,
                                 spectra[i].second));
    }
    void preselectsOnlyOnFirstSetUp()
    {
        // Only a first set-up, with nothing configured, suggests the preselected libraries.
        QVERIFY(LibraryManagementDialog(nullptr, nullptr, m_sources)
                    .chosenInstallableLibraries()
                    .isEmpty());
        LibrarySettings::storeLibraryPaths({});
        const auto chosen
            = LibraryManagementDialog(nullptr, nullptr, m_sources).chosenInstallableLibraries();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(LibrarySources::identifier(chosen[0]), S("test-minerals"));
    }
    void applyStoresAndReloadsOnChange()
    {
        auto library = std::make_shared<LibraryLoader>();
        library->setLibraryFolders(
            PathManager::readLibraryPaths(PathManager::instance().defaultLibraryFolder()));
        library->loadNow();
        QCOMPARE(library->library()->count(), 3);

        LibraryManagementDialog dialog(library, nullptr, m_sources);
        QSignalSpy updated(&dialog, &LibraryManagementDialog::update_sig);
        QSignalSpy reloaded(library.get(), &LibraryLoader::libraryChanged);
        dialog.applyAndReload();
        QCOMPARE(updated.count() + reloaded.count(), 0);

        item(dialog, 0, 1)->setCheckState(0, Qt::Checked);
        dialog.applyAndReload();
        QCOMPARE(updated.count(), 1);
        QTRY_COMPARE(reloaded.count(), 1);
        QCOMPARE(library->library()->count(), 5);
        QCOMPARE(storedSettings(),
                 (QVector<QVariantList>{{m_first, true, false}, {m_second, true, false}}));

        dialog.findChild<QTreeWidget *>()->setCurrentItem(item(dialog, 0, 0));
        dialog.findChild<QPushButton *>(S("buttonRemoveLibrary"))->click();
        dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QTRY_COMPARE(library->library()->count(), 2);
        QCOMPARE(storedSettings(), (QVector<QVariantList>{{m_second, true, false}}));
    }
    void existingInstallation_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("replaced") << true;
        QTest::newRow("kept") << false;
    }
    void existingInstallation()
    {
        QFETCH(bool, replace);
        const LibraryPath existing = library("rruff-fair-unoriented", "/minerals.zip");
        const QString ownFile = existing.path + S("/own notes.txt");
        QVERIFY(QDir().mkpath(existing.path));
        QVERIFY(QFile(ownFile).open(QIODevice::WriteOnly));

        // Run modally, as the management dialog runs it: OK accepts the licence, the question
        // comes on top of the dialog, and OK closes it once everything is done.
        LibraryDownloadDialog dialog({existing});
        answerNextModal<QMessageBox>([replace](QMessageBox *box) {
            box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, &dialog, [&dialog] {
            if (QApplication::activeModalWidget() == &dialog && okButton(dialog)->isEnabled())
                okButton(dialog)->click();
        });
        clicker.start(50);
        QTimer::singleShot(30000, &dialog, &QDialog::reject);
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.installer().installed().size(), replace ? 1 : 0);
        QCOMPARE(QFileInfo::exists(ownFile), !replace);
    }

private:
    LibraryPath library(const char *identifier, const char *path) const
    {
        const QVector<LibraryPath> all = LibrarySources::installableLibraries();
        LibraryPath library = *std::find_if(all.cbegin(), all.cend(), [&](const LibraryPath &l) {
            return LibrarySources::identifier(l) == QLatin1String(identifier);
        });
        library.info.insert(S("url"), m_server.url(QLatin1String(path)));
        return library;
    }
    static QPushButton *okButton(const QWidget &dialog)
    {
        return dialog.findChild<QDialogButtonBox *>(S("buttonBox"))->button(QDialogButtonBox::Ok);
    }

    static QTreeWidgetItem *item(const QDialog &dialog, int group, int row)
    {
        return dialog.findChild<QTreeWidget *>()->topLevelItem(group)->child(row);
    }
    static QVector<QVariantList> storedSettings()
    {
        QVector<QVariantList> stored;
        for (const LibraryPath &path : LibrarySettings::storedLibraryPaths())
            stored.append({path.path, path.enabled, path.system});
        return stored;
    }

    TestPictureStore m_store;
    QTemporaryDir m_dir;
    LibraryServer m_server;
    QString m_sources, m_first, m_second;
};

QTEST_MAIN(TestLibraryWidgets)
#include "tst_librarywidgets.moc"
