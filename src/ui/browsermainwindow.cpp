#include "ui/browsermainwindow.h"

#include "browse/savedatabrowsemodel.h"
#include "core/pathmanager.h"
#include "ui/language.h"
#include "widgets/geometryrestore.h"

#include "ui_browsermainwindow.h"

#include <QDir>
#include <QSettings>

const QString BrowserMainWindow::activeDirectoryKey
    = QStringLiteral("browsermainwindow/active_directory");

BrowserMainWindow::BrowserMainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::BrowserMainWindow>())
{
    new GeometryRestore(this, QStringLiteral("SaveDataBrowserApplication"));
    m_ui->setupUi(this);
    fillLanguageMenu(m_ui->menuLanguage);

    const QString directory
        = QSettings().value(activeDirectoryKey, PathManager::instance().savePath()).toString();
    m_ui->browseWidget->selectSourceDirectory(directory);
    updateWindowTitle();

    connect(m_ui->actionQuit, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->browseWidget->model(), &SaveDataBrowseModel::progress, this,
            &BrowserMainWindow::showProgress);
}

BrowserMainWindow::~BrowserMainWindow() = default;

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
    setWindowTitle(tr("[%1] Raman-Speicherdatenbetrachter")
                       .arg(QDir::toNativeSeparators(m_ui->browseWidget->directory())));
}
