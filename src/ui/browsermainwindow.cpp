#include "ui/browsermainwindow.h"

#include "analysis/ui/analysisexports.h"
#include "analysis/ui/spectrumanalysiswindow.h"
#include "analysis/ui/spectrumprocessingwidget.h"
#include "browse/savedatabrowsemodel.h"
#include "core/logging.h"
#include "core/pathmanager.h"
#include "library/libraryloader.h"
#include "library/ui/librarymanagementdialog.h"
#include "savedata_view/savedatamodel.h"
#include "spectrum/formats/spectrumimport.h"
#include "storage/backup.h"
#include "ui/analysiswindowsession.h"
#include "ui/language.h"
#include "ui/settingsdialog.h"
#include "widgets/geometryrestore.h"
#include "widgets/waitcursor.h"

#include "ui_browsermainwindow.h"

#include <QDir>
#include <QFutureWatcher>
#include <QtConcurrent>

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <optional>

const QString BrowserMainWindow::activeDirectoryKey
    = QStringLiteral("browsermainwindow/active_directory");

namespace {
const QString spectrumFileDirectoryKey
    = QStringLiteral("browsermainwindow/spectrum_file_directory");
}

BrowserMainWindow::BrowserMainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::BrowserMainWindow>())
    , m_library(std::make_shared<LibraryLoader>())
{
    new GeometryRestore(this, QStringLiteral("SaveDataBrowserApplication"));
    m_ui->setupUi(this);
    fillLanguageMenu(m_ui->menuLanguage, [this] { restartProgram(); });
    // The form's 800 x 600 clips the tree and the previews; a remembered geometry replaces this.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(QSize(1280, 800).boundedTo(screen->availableSize() * 0.9));
    m_ui->splitter->setSizes({width() * 2 / 5, width() * 3 / 5});

    m_model = new SaveDataModel(this);
    m_ui->displayWidget->setModel(m_model);
    m_ui->displayWidget->setFeatures(65535);
    m_ui->displayWidget->setAnalysisWorkspace(analysisWindowWorkspace(m_library));

    connect(m_ui->browseWidget, &SaveDataBrowseWidget::directorySelected, this,
            &BrowserMainWindow::requestMeasurement);

    const QString directory
        = QSettings().value(activeDirectoryKey, PathManager::instance().savePath()).toString();
    m_ui->browseWidget->selectSourceDirectory(directory);
    updateWindowTitle();

    connect(m_ui->actionSelect_directory, &QAction::triggered, this,
            &BrowserMainWindow::selectSourceDirectory);
    connect(m_ui->actionAnalyseSpectrumFile, &QAction::triggered, this,
            &BrowserMainWindow::chooseSpectrumFile);
    connect(m_ui->actionReload, &QAction::triggered, this, &BrowserMainWindow::reload);
    connect(m_ui->actionSave, &QAction::triggered, this, &BrowserMainWindow::save);
    connect(m_ui->actionDelete, &QAction::triggered, this, &BrowserMainWindow::deleteEntry);
    connect(m_ui->actionBrowseBackups, &QAction::triggered, this,
            &BrowserMainWindow::browseBackups);
    connect(m_ui->actionRemoveAllBackups, &QAction::triggered, this,
            &BrowserMainWindow::removeAllBackups);
    connect(m_ui->actionGenerateReport, &QAction::triggered, m_ui->displayWidget,
            &SaveDataDisplayWidget::generateReportAdvancedSelected);
    connect(m_ui->actionQuit, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->actionManageLibraries, &QAction::triggered, this,
            &BrowserMainWindow::manageLibraries);
    connect(m_ui->actionSettings, &QAction::triggered, this, &BrowserMainWindow::editSettings);
    SaveDataBrowseModel *list = m_ui->browseWidget->model();
    connect(list, &SaveDataBrowseModel::progress, this, &BrowserMainWindow::showProgress);
    connect(list, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { showAwaitedSource(first, last); });
    connect(list, &SaveDataBrowseModel::loadingFinished, this, [this] {
        if (m_awaitedSource.isEmpty())
            return;
        m_awaitedSource.clear();
        statusBar()->showMessage(tr("Die Quellfassung der Backup-Kopie ist hier nicht gelistet."));
    });
    connect(m_ui->displayWidget, &SaveDataDisplayWidget::statusMessage, this,
            [this](const QString &message) { statusBar()->showMessage(message, 10000); });
    connect(m_ui->displayWidget, &SaveDataDisplayWidget::reloadRequested, this,
            [this](const QString &folder) {
                m_model->clear(); // the changes were given up
                requestMeasurement(folder);
            });
}

BrowserMainWindow::~BrowserMainWindow() = default;

// The list announces a selection from inside its selection signal, where neither a question
// nor a model change may run: the switch waits for the next event-loop turn, and the newest
// request wins.
void BrowserMainWindow::requestMeasurement(const QString &path)
{
    m_requestedPath = path;
    if (m_switchQueued)
        return;
    m_switchQueued = true;
    QMetaObject::invokeMethod(this, &BrowserMainWindow::switchToRequested, Qt::QueuedConnection);
}

bool BrowserMainWindow::settleUnsavedChanges()
{
    switch (m_ui->displayWidget->querySaveChanges()) {
    case QMessageBox::Cancel:
        return false;
    case QMessageBox::Yes:
        // A failed save keeps the changes on screen rather than dropping them.
        if (!m_ui->displayWidget->writeChangesToDisk())
            return false;
        reloadShownRow();
        return true;
    default:
        return true;
    }
}

void BrowserMainWindow::restartProgram()
{
    if (!settleUnsavedChanges())
        return;
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), {})) {
        QMessageBox::warning(this, tr("Neustart fehlgeschlagen"),
                             tr("Das Programm konnte nicht neu gestartet werden. Bitte starten "
                                "Sie es selbst neu."));
        return;
    }
    close();
    QCoreApplication::quit(); // also when analysis windows are open
}

void BrowserMainWindow::switchToRequested()
{
    m_switchQueued = false;
    const QString path = m_requestedPath;
    // While a load runs, the shown measurement's changes were already settled.
    if (!m_loading) {
        if (!settleUnsavedChanges()) {
            m_ui->browseWidget->clearSelection();
            return;
        }
        if (m_switchQueued)
            return; // another row was chosen while the question was open
    }
    // Photos of ten measuring points take longer to decode than a frozen window is bearable:
    // the folder is read on the pool while the window keeps answering.
    const int generation = ++m_loadGeneration;
    setLoading(true);
    auto *watcher = new QFutureWatcher<std::optional<SaveData>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation, path] {
        watcher->deleteLater();
        if (generation == m_loadGeneration) // else a newer request superseded it
            showLoaded(path, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([path]() -> std::optional<SaveData> {
        SaveData data;
        if (!data.load(path, AllSaveDataParts))
            return std::nullopt;
        return data;
    }));
}

void BrowserMainWindow::showLoaded(const QString &path, const std::optional<SaveData> &loaded)
{
    setLoading(false);
    m_model->setSaveData(loaded ? *loaded : SaveData());
    // A metadata.json that is no JSON reads as version 0 without measuring points.
    const SaveData &data = m_model->saveData();
    if (!loaded || (!data.hasContent() && data.metadata().save_data_version == 0)) {
        qCWarning(logDataIo) << "no readable measurement in" << path;
        m_model->clear();
        emit measurementShown(QString());
        QMessageBox::warning(this, tr("Speicherdaten nicht lesbar"),
                             tr("<p>Die Speicherdaten in</p><p><tt>%1</tt></p><p>konnten nicht "
                                "gelesen werden: der Ordner fehlt, oder seine metadata.json ist "
                                "beschädigt.</p>")
                                 .arg(QDir::toNativeSeparators(path)));
        return;
    }
    updateWindowTitle();
    if (m_model->isReadOnly()) {
        statusBar()->showMessage(
            tr("Backup-Kopie, nur zum Ansehen: %1").arg(QDir::toNativeSeparators(path)));
    }
    emit measurementShown(path);
}

void BrowserMainWindow::closeEvent(QCloseEvent *event)
{
    switch (m_ui->displayWidget->querySaveChanges()) {
    case QMessageBox::Cancel:
        event->ignore();
        return;
    case QMessageBox::Yes:
        // A failed save keeps the program open with the changes on screen.
        if (!m_ui->displayWidget->writeChangesToDisk()) {
            event->ignore();
            return;
        }
        break;
    default:
        break;
    }
    QMainWindow::closeEvent(event);
}

// What acts on the shown measurement waits until the one asked for is there.
void BrowserMainWindow::setLoading(bool loading)
{
    m_loading = loading;
    m_ui->displayWidget->setEnabled(!loading);
    for (QAction *action : {m_ui->actionSave, m_ui->actionDelete, m_ui->actionGenerateReport})
        action->setEnabled(!loading);
    if (loading)
        statusBar()->showMessage(tr("Lade Messung ..."));
    else
        statusBar()->clearMessage();
}

void BrowserMainWindow::selectSourceDirectory()
{
    const QString chosen = m_ui->browseWidget->querySelectSourceDirectory(
        QSettings().value(activeDirectoryKey).toString());
    if (chosen.isEmpty())
        return;
    QSettings().setValue(activeDirectoryKey, chosen);
    // A backup copy on screen would pass for the source version, which takes its place once
    // listed.
    if (m_model->isReadOnly()) {
        m_awaitedSource = m_model->saveData().metadata().unique_ident;
        m_model->clear();
    }
    updateWindowTitle();
}

void BrowserMainWindow::showAwaitedSource(int first, int last)
{
    SaveDataBrowseModel *list = m_ui->browseWidget->model();
    for (int row = first; row <= last && !m_awaitedSource.isEmpty(); ++row) {
        if (list->index(row, SaveDataBrowseModel::UniqueIdColumn).data() != m_awaitedSource)
            continue;
        m_awaitedSource.clear();
        const QString folder
            = list->index(row, 0).data(SaveDataBrowseModel::FolderPathRole).toString();
        if (!m_ui->browseWidget->selectFolder(folder)) // filtered out of the table
            requestMeasurement(folder);
    }
}

void BrowserMainWindow::chooseSpectrumFile()
{
    QSettings settings;
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Spektrum aus Datei analysieren"),
        settings.value(spectrumFileDirectoryKey).toString(), spectrumFileFilter());
    if (path.isEmpty())
        return;
    settings.setValue(spectrumFileDirectoryKey, QFileInfo(path).absolutePath());
    analyseSpectrumFile(path);
}

SpectrumAnalysisWindow *BrowserMainWindow::analyseSpectrumFile(const QString &path)
{
    const std::optional<RamanData<Wavenumbers>> spectrum
        = AnalysisExports::readSpectrumFile(path, this);
    if (!spectrum)
        return nullptr;
    // A child window, so that it closes with the program; nothing is stored from it.
    auto *window = new SpectrumAnalysisWindow(m_library->library(), *spectrum, this);
    followLibrary(window, m_library);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(tr("Analyse von %1").arg(QFileInfo(path).fileName()));
    window->analysisWidget()->setResultStorable(false);
    window->analysisWidget()->setDataFolder(QFileInfo(path).absolutePath());
    window->show();
    return window;
}

void BrowserMainWindow::reload()
{
    SaveDataBrowseModel *model = m_ui->browseWidget->model();
    model->setDirectory(model->directory());
}

void BrowserMainWindow::save()
{
    if (m_ui->displayWidget->writeChangesToDisk())
        reloadShownRow();
}

void BrowserMainWindow::deleteEntry()
{
    m_ui->displayWidget->deleteLoadedDataFromDisk();
    reloadShownRow();
}

// The row of the shown measurement, which is not the selected one after a cancelled switch.
void BrowserMainWindow::reloadShownRow()
{
    const QString folder = QDir::cleanPath(m_model->saveData().folderPath());
    SaveDataBrowseModel *list = m_ui->browseWidget->model();
    if (folder.isEmpty())
        return;
    for (int row = 0; row < list->rowCount(); ++row) {
        if (QDir::cleanPath(
                list->index(row, 0).data(SaveDataBrowseModel::FolderPathRole).toString())
            == folder) {
            list->reloadRow(row);
            return;
        }
    }
}

void BrowserMainWindow::browseBackups()
{
    m_ui->browseWidget->model()->setDirectory(backupRoot());
    updateWindowTitle();
}

void BrowserMainWindow::removeAllBackups()
{
    const QString root = backupRoot();
    if (QMessageBox::question(this, tr("Daten löschen"),
                              tr("<p>Alle Backups in</p><p><tt>%1</tt></p><p>wirklich löschen?</p>")
                                  .arg(QDir::toNativeSeparators(root)),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const WaitCursor wait;
    QDir(root).removeRecursively();
    m_ui->actionBrowseBackups->trigger();
}

void BrowserMainWindow::manageLibraries()
{
    LibraryManagementDialog dialog(m_library, this);
    dialog.exec();
}

void BrowserMainWindow::editSettings()
{
    const QString oldSavePath = QDir::cleanPath(PathManager::instance().savePath());
    SettingsDialog dialog(this);
    connect(&dialog, &SettingsDialog::manageLibrariesRequested, this,
            &BrowserMainWindow::manageLibraries);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A list that showed the save path follows it.
    const QString savePath = QDir::cleanPath(PathManager::instance().savePath());
    if (savePath != oldSavePath
        && QDir::cleanPath(m_ui->browseWidget->directory()) == oldSavePath) {
        m_ui->browseWidget->selectSourceDirectory(savePath);
        QSettings().setValue(activeDirectoryKey, savePath);
        updateWindowTitle();
    }
    Language::offerRestart(chosenLocale(), [this] { restartProgram(); });
}

void BrowserMainWindow::showProgress(int done, int totalApprox)
{
    const int timeout = 10000;
    if (done != totalApprox) {
        statusBar()->showMessage(tr("Lade Speicherdaten: %1 von etwa %2 (%3%) ...")
                                     .arg(done)
                                     .arg(totalApprox)
                                     .arg(done * 100 / totalApprox),
                                 timeout);
    } else {
        statusBar()->showMessage(tr("Fertig."), timeout);
    }
}

void BrowserMainWindow::updateWindowTitle()
{
    const QString title = tr("[%1] Raman-Speicherdatenbetrachter")
                              .arg(QDir::toNativeSeparators(m_ui->browseWidget->directory()));
    setWindowTitle(m_model->isReadOnly() ? title + tr(" - Backup-Kopie (schreibgeschützt)")
                                         : title);
}
