#include "analysis/analysissettings.h"
#include "analysis/ui/spectrumanalysiswindow.h"
#include "analysis/ui/spectrumprocessingwidget.h"
#include "analysisidle.h"
#include "browse/savedatabrowsemodel.h"
#include "browse/ui/savedatabrowsewidget.h"
#include "core/appidentity.h"
#include "core/pathmanager.h"
#include "demoprofile.h"
#include "library/referencelibrary.h"
#include "measurementfolders.h"
#include "modaldialogs.h"
#include "modalguard.h"
#include "savedata_view/savedatamodel.h"
#include "savedata_view/ui/savedatadisplaywidget.h"
#include "savedatafixture.h"
#include "storage/backup.h"
#include "testfiles.h"
#include "ui/browsermainwindow.h"

#include <QtTest>
#include <QtWidgets>

class TestBrowserMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppIdentity::apply();
        QLoggingCategory::setFilterRules(S("*.debug=false\n*.info=false"));
        QSettings().clear();
        QDir(backupRoot()).removeRecursively();
        const QByteArray failed = setUpDemoProfile(m_dir.filePath(S("lib")), root());
        QVERIFY2(failed.isEmpty(), failed.constData());
    }

    // A modal question from inside a model, selection or filter signal runs the program on
    // while the model is mid-change.
    void cleanup()
    {
        const QStringList violations = m_modalGuard.takeViolations();
        QVERIFY2(violations.isEmpty(), qPrintable(violations.join(QLatin1Char('\n'))));
    }

    void firstStartListsTheSavePath()
    {
        QSettings().remove(BrowserMainWindow::activeDirectoryKey);
        const QString savePath = PathManager::instance().savePath(); // the default: tst_pathmanager
        QVERIFY(writeTestMeasurement(savePath + S("2020/probe"), {{}, {}, 2, {S("Quarz")}, {}}));
        BrowserMainWindow window;
        auto *browse = childNamed<SaveDataBrowseWidget>(&window, "browseWidget");
        QVERIFY(QSignalSpy(browse->model(), &SaveDataBrowseModel::loadingFinished).wait(5000));
        QCOMPARE(browse->model()->rowCount(), 1);
    }

    // Select, analyse point 1 while point 2 is selected, store, save, see the list and the
    // backup, delete a point, save, browse the backups.
    void wholeRoad()
    {
        openWindow();
        const QString folder = selectMeasurement([](const SaveData &d) {
            return d.metadata().save_data_version == CurrentSaveDataVersion && d.sectorCount() >= 2;
        });
        QVERIFY(!folder.isEmpty());
        QCOMPARE(m_model->saveData().folderPath(), folder);

        QString stored, proposed;
        std::shared_ptr<const ReferenceLibrary> library;
        const IdentificationData second = m_model->saveData().sector(1)->identificationData;
        analyse([this, &stored, &proposed, &library](SpectrumAnalysisWindow *window) {
            library = window->analysisWidget()->analysis()->library();
            childNamed<QComboBox>(window, "searchMethodCombo")->setCurrentIndex(1);
            QVERIFY(waitForAnalysisIdle(window->analysisWidget()->analysis()));
            selectTreeRow(1);
            stored = window->finalIdentification();
            proposed = proposedExport(window);
            childNamed<QPushButton>(window, "buttonSaveResults")->click();
        });
        QVERIFY(!stored.isEmpty());
        // Exports are proposed in the measurement's folder, named after the result.
        QCOMPARE(QDir::cleanPath(proposed), QDir(folder).filePath(stored + S(".txt")));
        QCOMPARE(identification(0), stored); // the analysed point, not the one selected meanwhile
        QVERIFY(!m_model->saveData().sector(0)->identificationData.searchResultImage.isNull());
        QVERIFY(m_model->saveData().sector(1)->identificationData == second);
        QCOMPARE(m_model->saveData().activeSectorIndex(), 0);
        QVERIFY(library && library->count() > 0);
        // Reopened, the point shows how it was found, whatever the user's last analysis was.
        rememberAnalysisSettings(AnalysisSettings());
        analyse([&library](SpectrumAnalysisWindow *window) {
            QCOMPARE(window->analysisWidget()->analysis()->library(), library); // loaded once
            QCOMPARE(childNamed<QComboBox>(window, "searchMethodCombo")->currentText(),
                     S("Korrelation"));
        });

        action("actionSave")->trigger();
        QVERIFY(listedIdentifications(folder).contains(stored));

        const int points = m_model->saveData().sectorCount();
        QCOMPARE(runAnswering([this] { contextMenuAction(1, "Messung löschen")->trigger(); },
                              QMessageBox::Yes)
                     .size(),
                 1);
        action("actionSave")->trigger();
        SaveData saved;
        QVERIFY(saved.load(folder, Metadata));
        QCOMPARE(saved.sectorCount(), points - 1);
        QCOMPARE(startingAnalysisSettings(saved.sector(0)->identificationData.analysis_settings)
                     .searchMethod,
                 int(SearchSettings::Correlation));

        action("actionBrowseBackups")->trigger();
        QVERIFY(QSignalSpy(m_browse->model(), &SaveDataBrowseModel::loadingFinished).wait(5000));
        QVERIFY(m_browse->model()->rowCount() >= 2);
        QVERIFY(m_window->windowTitle().contains(QDir::toNativeSeparators(backupRoot())));
    }

    // The store refuses when the analysed point is gone, and an answered No deletes nothing.
    void refusals()
    {
        openWindow();
        selectMeasurement([](const SaveData &d) { return d.sectorCount() >= 2; });
        const QString before = identification(1);
        const QStringList texts = runAnswering(
            [this] {
                analyse([this](SpectrumAnalysisWindow *window) {
                    m_model->removeSector(0);
                    childNamed<QPushButton>(window, "buttonSaveResults")->click();
                });
            },
            QMessageBox::Ok);
        QCOMPARE(texts.size(), 1);
        QVERIFY(texts.first().contains(S("nicht mehr geladen")));
        QCOMPARE(identification(0), before);

        QVERIFY(QDir().mkpath(backupRoot()));
        runAnswering([this] { action("actionRemoveAllBackups")->trigger(); }, QMessageBox::No);
        QVERIFY(QDir(backupRoot()).exists());
        QCOMPARE(QDir::cleanPath(m_browse->directory()), QDir::cleanPath(root()));

        // A measurement that belongs to no folder is neither saved nor deleted.
        m_model->clear();
        QVERIFY(m_display->writeChangesToDisk());
        QVERIFY(runAnswering([this] { action("actionDelete")->trigger(); }, QMessageBox::Yes)
                    .isEmpty());
    }

    // A spectrum file outside any measurement opens for analysis with exports but nothing to
    // store; a file that holds no spectrum is refused with a message naming it.
    void spectrumFromFile()
    {
        openWindow();
        ModalAnswers answers;
        answers.file = TestFiles::rruffDir()
                       + S("/queries/Anglesite__R050052__Raman__532__0__unoriented__"
                           "Raman_Data_Processed__21196.txt");
        runAnswering([this] { action("actionAnalyseSpectrumFile")->trigger(); }, answers);
        auto *analysis = m_window->findChild<SpectrumAnalysisWindow *>();
        QVERIFY(analysis);
        QVERIFY(analysis->windowTitle().endsWith(QFileInfo(answers.file).fileName()));
        QVERIFY(!childNamed<QPushButton>(analysis, "buttonSaveResults")->isVisible());
        QVERIFY(childNamed<QToolButton>(analysis, "tButtSave")->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(analysis->suggestedAuto(), S("Anglesite"), 30000);
        QCOMPARE(QFileInfo(proposedExport(analysis)).absolutePath(),
                 QFileInfo(answers.file).absolutePath());
        analysis->close();

        answers.file = TestFiles::rruffDir() + S("/README.md");
        runAnswering([this] { action("actionAnalyseSpectrumFile")->trigger(); }, answers);
        QCOMPARE(answers.texts.size(), 1);
        QVERIFY2(answers.texts[0].contains(S("README.md")), qPrintable(answers.texts[0]));
    }

    // Cancel keeps the shown measurement with its changes; the selected item survives the reset.
    void switchingMeasurementsAndClosing()
    {
        openWindow();
        const QString first = selectMeasurement([](const SaveData &) { return true; });
        selectTreeRow(0, SaveDataModel::ExposureDataItem);
        changeOwner();

        const auto other = [&first](const SaveData &d) { return d.folderPath() != first; };
        QCOMPARE(runAnswering([&] { selectMeasurement(other); }, QMessageBox::Cancel).size(), 1);
        QCOMPARE(m_model->saveData().folderPath(), first);
        QVERIFY(m_model->saveData().hasUnsavedChanges());

        runAnswering([&] { selectMeasurement(other); }, QMessageBox::No);
        QVERIFY(m_model->saveData().folderPath() != first);
        const QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
        QVERIFY(!selected.isEmpty());
        QCOMPARE(selected.first().row(), int(SaveDataModel::ExposureDataItem));
        QCOMPARE(selected.first().parent().row(), 0);

        // Closing the window asks the same; Cancel keeps it open.
        changeOwner();
        QCOMPARE(runAnswering([this] { m_window->close(); }, QMessageBox::Cancel).size(), 1);
        QVERIFY(m_window->isVisible());
        QCOMPARE(runAnswering([this] { m_window->close(); }, QMessageBox::No).size(), 1);
        QVERIFY(!m_window->isVisible());
    }

    // A filter that hides the shown measurement's row clears the selection and nothing else:
    // the measurement stays shown, nothing loads, nothing asks, the list keeps working.
    void filterHidingTheSelectedRow()
    {
        openWindow();
        const QString baryte = selectMeasurement(
            [](const SaveData &d) { return d.metadata().collection_id == QLatin1String("HU-31"); });
        QCOMPARE(m_model->saveData().folderPath(), baryte);
        changeOwner();

        auto *table = childNamed<QTableView>(m_browse, "tableView");
        const QStringList questions = runAnswering(
            [this] {
                auto *filter = childNamed<QLineEdit>(m_browse, "lineEditResult");
                filter->setFocus();
                QTest::keyClicks(filter, S("Topa"));
                QTest::qWait(300);
            },
            QMessageBox::Cancel);
        QVERIFY2(questions.isEmpty(), qPrintable(questions.join(S("; "))));
        QVERIFY(table->model()->rowCount() >= 1);
        QVERIFY(!table->selectionModel()->hasSelection());
        QCOMPARE(m_model->saveData().folderPath(), baryte);
        QVERIFY(m_model->saveData().hasUnsavedChanges());

        childNamed<QLineEdit>(m_browse, "lineEditResult")->clear();
        QString other;
        QCOMPARE(
            runAnswering([&] { other = selectMeasurement([](const SaveData &) { return true; }); },
                         QMessageBox::No)
                .size(),
            1);
        QCOMPARE(m_model->saveData().folderPath(), other);
    }

    // An old measurement is rewritten in the current format before its report.
    void oldVersionRewrittenBeforeReport()
    {
        openWindow();
        const QString folder = selectMeasurement([](const SaveData &d) {
            return d.metadata().save_data_version < CurrentSaveDataVersion && d.hasContent();
        });
        QVERIFY(!folder.isEmpty());
        runAnswering([this] { action("actionGenerateReport")->trigger(); }, QMessageBox::Ok);
        SaveData saved;
        QVERIFY(saved.load(folder, Metadata));
        QCOMPARE(saved.metadata().save_data_version, CurrentSaveDataVersion);
    }

    // Another program saved the folder since it was loaded: "Neu laden" gives up this window's
    // changes, shows the other version and writes nothing.
    void reloadWhenChangedOnDisk()
    {
        openWindow();
        const QString folder = selectMeasurement([](const SaveData &d) { return d.hasContent(); });
        SaveData other;
        QVERIFY(other.load(folder, AllSaveDataParts));
        other.setMetadata(Fixture::ownedBy(other.metadata(), S("Anderes Programm")));
        QVERIFY(other.save(QFileInfo(folder).path(), QFileInfo(folder).fileName(), {}));
        const auto onDisk = Fixture::snapshot(QFileInfo(folder).path());
        const auto backups = Fixture::snapshot(backupRoot());

        changeOwner(S("Dieses Fenster"));
        const QStringList texts
            = runAnswering([this] { action("actionSave")->trigger(); }, QMessageBox::No);
        QCOMPARE(texts.size(), 1);
        QVERIFY(texts.first().contains(S("außerhalb dieses Fensters geändert")));
        QVERIFY(QTest::qWaitFor([this] { return !m_window->isLoading(); }, 10000));
        QCOMPARE(m_model->saveData().folderPath(), folder);
        QCOMPARE(m_model->saveData().metadata().owner, S("Anderes Programm"));
        QCOMPARE(Fixture::snapshot(QFileInfo(folder).path()), onDisk);
        QCOMPARE(Fixture::snapshot(backupRoot()), backups);
    }

    // A backup copy opened from the backup area, then the source folder chosen again: the
    // source version takes its place, saved changes and all.
    void sourceVersionAfterBackup()
    {
        openWindow();
        const QString folder = selectMeasurement([](const SaveData &d) { return d.hasContent(); });
        const QString ident = m_model->saveData().metadata().unique_ident;
        changeOwner(S("Neue Fassung"));
        action("actionSave")->trigger();
        action("actionBrowseBackups")->trigger();
        QVERIFY(QSignalSpy(m_browse->model(), &SaveDataBrowseModel::loadingFinished).wait(5000));
        const QString backup = selectMeasurement(
            [&](const SaveData &d) { return d.metadata().unique_ident == ident; });
        QVERIFY(isInBackupArea(backup));

        ModalAnswers answers;
        answers.file = root();
        runAnswering([this] { action("actionSelect_directory")->trigger(); }, answers);
        QVERIFY(QTest::qWaitFor(
            [&] { return m_model->saveData().folderPath() == folder && !m_window->isLoading(); },
            10000));
        QCOMPARE(m_model->saveData().metadata().owner, S("Neue Fassung"));
    }

    void badInput_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::newRow("folder vanished") << "vanish"
                                         << "konnten nicht gelesen werden";
        QTest::newRow("metadata.json not JSON") << "garble"
                                                << "konnten nicht gelesen werden";
        QTest::newRow("file where the folder must go at save") << "block"
                                                               << "overwritten: File exists";
    }
    // A clear message, the list keeps working, nothing on disk is lost.
    void badInput()
    {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        openWindow();
        const QString folder = folderAt(findRow([](const SaveData &d) { return d.hasContent(); }));
        QStringList texts;
        if (damage == QLatin1String("block")) {
            selectMeasurement([&](const SaveData &d) { return d.folderPath() == folder; });
            const QString blocked = backupRoot() + S("/overwritten");
            QDir(blocked).removeRecursively();
            QVERIFY(TestFiles::write(blocked, "a file"));
            changeOwner();
            texts = runAnswering([this] { action("actionSave")->trigger(); }, QMessageBox::Ok);
            QFile::remove(blocked);
            QVERIFY(m_model->saveData().hasUnsavedChanges());
            SaveData onDisk;
            QVERIFY(onDisk.load(folder, AllSaveDataParts) && onDisk.hasContent());
            QVERIFY(onDisk.metadata().owner != S("Geändert"));
        } else {
            QDir(folder).removeRecursively();
            if (damage == QLatin1String("garble"))
                QVERIFY(TestFiles::write(folder + S("/metadata.json"), "{ not"));
            texts = runAnswering(
                [&] {
                    selectMeasurement([&](const SaveData &d) { return d.folderPath() == folder; });
                },
                QMessageBox::Ok);
            QVERIFY(m_model->saveData().folderPath().isEmpty());
        }
        QCOMPARE(texts.size(), 1);
        QVERIFY2(texts.first().contains(message), qPrintable(texts.first()));
        QString other;
        runAnswering(
            [&] { other = selectMeasurement([](const SaveData &d) { return d.hasContent(); }); },
            QMessageBox::No);
        QCOMPARE(m_model->saveData().folderPath(), other);
    }

private:
    QString root() const { return m_dir.filePath(S("Raman")); }

    // An unsaved change to the shown measurement.
    void changeOwner(const QString &owner = S("Geändert"))
    {
        m_model->setMetadata(Fixture::ownedBy(m_model->saveData().metadata(), owner));
    }

    void openWindow()
    {
        QSettings().setValue(BrowserMainWindow::activeDirectoryKey, root());
        m_window = std::make_unique<BrowserMainWindow>();
        m_browse = childNamed<SaveDataBrowseWidget>(m_window.get(), "browseWidget");
        m_display = childNamed<SaveDataDisplayWidget>(m_window.get(), "displayWidget");
        m_tree = childNamed<QTreeView>(m_display, "treeView");
        m_model = qobject_cast<SaveDataModel *>(m_tree->model());
        m_window->show();
        QVERIFY(QSignalSpy(m_browse->model(), &SaveDataBrowseModel::loadingFinished).wait(5000));
    }

    QAction *action(const char *name) { return childNamed<QAction>(m_window.get(), name); }

    // The first listed row, not the selected one, whose measurement fulfils `wanted`; -1: none.
    int findRow(const std::function<bool(const SaveData &)> &wanted) const
    {
        auto *table = childNamed<QTableView>(m_browse, "tableView");
        const int selected = table->selectionModel()->hasSelection()
                                 ? table->selectionModel()->selectedRows().first().row()
                                 : -1;
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            SaveData data;
            data.load(folderAt(row), Metadata);
            if (row != selected && wanted(data))
                return row;
        }
        return -1;
    }
    QString folderAt(int row) const
    {
        const QAbstractItemModel *rows = childNamed<QTableView>(m_browse, "tableView")->model();
        return rows->index(row, 0).data(SaveDataBrowseModel::FolderPathRole).toString();
    }
    // Selects that row in the list; its folder, or empty.
    QString selectMeasurement(const std::function<bool(const SaveData &)> &wanted)
    {
        const int row = findRow(wanted);
        if (row < 0)
            return QString();
        childNamed<QTableView>(m_browse, "tableView")->selectRow(row);
        if (!QTest::qWaitFor([this] { return !m_window->isLoading(); }, 10000))
            return QString();
        return folderAt(row);
    }

    void selectTreeRow(int point, int item = -1)
    {
        const QModelIndex parent = item < 0 ? QModelIndex() : m_model->index(point, 0);
        m_tree->selectionModel()->select(m_model->index(item < 0 ? point : item, 0, parent),
                                         QItemSelectionModel::ClearAndSelect
                                             | QItemSelectionModel::Rows);
    }

    // Analyses point 1 in the analysis window and runs `script` there once the search has a
    // result; closes the window afterwards when the script left it open.
    void analyse(const std::function<void(SpectrumAnalysisWindow *)> &script)
    {
        selectTreeRow(0);
        childNamed<QPushButton>(m_display, "buttonAnalyze")->click();
        QPointer<SpectrumAnalysisWindow> window;
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *w : windows) {
            if (w->isVisible() && qobject_cast<SpectrumAnalysisWindow *>(w))
                window = static_cast<SpectrumAnalysisWindow *>(w);
        }
        const bool searched
            = QTest::qWaitFor([&] { return !window || !window->suggestedAuto().isEmpty(); }, 30000);
        if (window && searched)
            script(window);
        if (window)
            window->close();
    }

    // The file the analysis proposes for exporting the processed spectrum.
    static QString proposedExport(QWidget *window)
    {
        return proposedFile([window] { childNamed<QToolButton>(window, "tButtSave")->click(); });
    }

    QString identification(int point) const
    {
        const auto sector = m_model->saveData().sector(point);
        return sector ? sector->identificationData.mineral_final_identification : QString();
    }

    QString listedIdentifications(const QString &folder) const
    {
        const QModelIndexList rows = m_browse->model()->match(m_browse->model()->index(0, 0),
                                                              SaveDataBrowseModel::FolderPathRole,
                                                              folder, 1, Qt::MatchExactly);
        return rows.value(0).data(SaveDataBrowseModel::IdentificationsRole).toString();
    }

    QAction *contextMenuAction(int point, const char *text)
    {
        emit m_tree->customContextMenuRequested(
            m_tree->visualRect(m_model->index(point, 0)).center());
        auto *menu = m_display->findChild<QMenu *>();
        const QList<QAction *> actions = menu ? menu->actions() : QList<QAction *>();
        for (QAction *a : actions) {
            if (a->text() == QString::fromUtf8(text))
                return a;
        }
        return nullptr;
    }

    ModalInSignalGuard m_modalGuard;
    QTemporaryDir m_dir;
    std::unique_ptr<BrowserMainWindow> m_window;
    SaveDataBrowseWidget *m_browse = nullptr;
    SaveDataDisplayWidget *m_display = nullptr;
    QTreeView *m_tree = nullptr;
    SaveDataModel *m_model = nullptr;
};

QTEST_MAIN(TestBrowserMainWindow)
#include "tst_browsermainwindow.moc"
