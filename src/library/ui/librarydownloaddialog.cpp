#include "library/ui/librarydownloaddialog.h"

#include "ui_librarydownloaddialog.h"

#include "core/logging.h"
#include "library/install/libraryarchive.h"
#include "library/install/libraryinstaller.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QThread>

LibraryDownloadDialog::LibraryDownloadDialog(const QVector<LibraryPath> &libraries, QWidget *parent,
                                             const QString &sourceList)
    : QDialog(parent)
    , m_libraries(libraries)
    , m_ui(std::make_unique<Ui::LibraryDownloadDialog>())
    , m_installer(std::make_unique<LibraryInstaller>())
{
    m_ui->setupUi(this);
    m_ui->stackedWidget->setCurrentWidget(m_ui->pageLicence);
    m_ui->buttonBox->button(QDialogButtonBox::Ok)->setText(tr("Akzeptieren und herunterladen"));
    m_ui->textLicence->setHtml(LibrarySources::licenceText(
        LibrarySources::vendorIds(libraries),
        tr("<p><b>Von</b>: <i>${VENDOR_WEBSITE}</i><br>\n<b>Lizenztext</b>: "
           "${VENDOR_LICENSE}</p>"),
        sourceList));
    m_ui->labelSummary->hide();
    m_ui->textDetails->hide();

    connect(m_ui->buttonDetails, &QPushButton::toggled, m_ui->textDetails, &QWidget::setVisible);
    connect(m_ui->buttonBox, &QDialogButtonBox::accepted, this, &LibraryDownloadDialog::accept);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &LibraryDownloadDialog::reject);
    // The installer reports from its worker thread too; showStatusMessage re-posts those.
    connect(m_installer.get(), &LibraryInstaller::statusMessage, this,
            &LibraryDownloadDialog::showStatusMessage, Qt::DirectConnection);
    connect(this, &LibraryDownloadDialog::statusMessageAvailable, this,
            &LibraryDownloadDialog::showStatusMessage, Qt::QueuedConnection);
    connect(m_installer.get(), &LibraryInstaller::downloadProgress, this,
            &LibraryDownloadDialog::showDownloadProgress);
    connect(m_installer.get(), &LibraryInstaller::progressChanged, this,
            &LibraryDownloadDialog::updateProgress);
}

LibraryDownloadDialog::~LibraryDownloadDialog() = default;

void LibraryDownloadDialog::accept()
{
    if (m_ui->stackedWidget->currentWidget() != m_ui->pageLicence) {
        QDialog::accept();
        return;
    }
    m_ui->stackedWidget->setCurrentWidget(m_ui->pageProgress);
    // Back to the plain OK, which closes the dialog once everything is done.
    m_ui->buttonBox->setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(false);
    checkLibrariesExist();
    m_installer->start(m_libraries);
}

void LibraryDownloadDialog::reject()
{
    m_installer->cancel();
    QDialog::reject();
}

void LibraryDownloadDialog::checkLibrariesExist()
{
    QVector<LibraryPath> kept;
    for (const LibraryPath &library : qAsConst(m_libraries)) {
        if (!QFileInfo::exists(library.path)) {
            kept.append(library);
            continue;
        }
        const auto answer = QMessageBox::question(
            this, tr("Bibliothek schon vorhanden"),
            tr("Diese Bibliothek war schon einmal installiert, soll die bestehende Installation "
               "in '%1' ersetzt werden?")
                .arg(QDir::toNativeSeparators(library.path)),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            qCDebug(logDataLibraries) << "library" << LibrarySources::identifier(library)
                                      << "will not be installed, user denied overwrite";
            continue;
        }
        if (!LibraryInstaller::removeInstallation(library)) {
            showStatusMessage(QStringLiteral("Failed to remove the existing installation in '%1'")
                                  .arg(library.path),
                              LibraryArchive::Error);
            continue;
        }
        kept.append(library);
    }
    m_libraries = kept;
}

void LibraryDownloadDialog::updateProgress()
{
    const bool downloading = m_installer->downloadsPending();
    if (!downloading)
        m_ui->labelDownloadStatus->setText(tr("Fertig."));
    m_ui->labelInstallStatus->setText(downloading || m_installer->installsPending()
                                          ? tr("Warte auf Download ...")
                                          : tr("Fertig."));
    const int total = m_installer->totalSteps();
    const int done = m_installer->finishedSteps();
    qCDebug(logDataLibraries) << "setting progress:" << done << "of" << total;
    m_ui->progressBar->setVisible(total > 0);
    m_ui->progressBar->setMaximum(total);
    m_ui->progressBar->setValue(done);
    if (!m_installer->isDone())
        return;
    m_ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(true);
    const int failed = m_installer->failed().size();
    if (failed > 0) {
        m_ui->labelSummary->setText(
            tr("Die Installation von %1 Bibliotheken ist fehlgeschlagen (%2 erfolgreich "
               "installiert)<br>Klicken Sie 'Details' für weitere Informationen.")
                .arg(failed)
                .arg(m_installer->installed().size()));
        m_ui->labelSummary->show();
    }
}

void LibraryDownloadDialog::showDownloadProgress(qint64 bytes, qint64 maxBytes)
{
    const QString percent
        = maxBytes > 0 ? QString::number(bytes * 100.0 / maxBytes, 'g', 3) : QStringLiteral("??");
    m_ui->labelDownloadStatus->setText(
        QStringLiteral("%1 (%2%)")
            .arg(LibrarySources::readableName(m_installer->currentDownload(), QLocale().name()),
                 percent));
}

void LibraryDownloadDialog::showStatusMessage(const QString &message, int type)
{
    if (QThread::currentThread() != thread()) {
        emit statusMessageAvailable(message, type);
        return;
    }
    const QString text = message.toHtmlEscaped();
    QString line;
    switch (type) {
    case LibraryArchive::Success:
        line = QStringLiteral("[success] <span style='color: darkgreen;'>%1</span>").arg(text);
        break;
    case LibraryArchive::Error:
        line = QStringLiteral("[error] <span style='color: darkred;'>%1</span>").arg(text);
        break;
    default:
        line = QStringLiteral("[info] %1").arg(text);
        break;
    }
    QTextCursor cursor(m_ui->textDetails->document());
    cursor.movePosition(QTextCursor::End);
    // A fresh block, so that no colour of the previous line carries over.
    if (!m_ui->textDetails->document()->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertHtml(line);
    QScrollBar *bar = m_ui->textDetails->verticalScrollBar();
    bar->setValue(bar->maximum());
}
