#include "ui/settingsdialog.h"

#include "ui_settingsdialog.h"

#include "core/logging.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtConcurrent>

SettingsDialog::SettingsDialog(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::SettingsDialog>())
{
    m_ui->setupUi(this);
    const ProgramSettings current = ProgramSettings::current();
    m_ui->savePath->setText(QDir::toNativeSeparators(current.savePath));
    m_ui->backupPath->setText(QDir::toNativeSeparators(current.backupPath));
    m_ui->texCompiler->setText(current.texCompiler);
    // Language names are shown in their own language, as in the language menu.
    m_ui->language->addItem(tr("Sprache des Systems"), QString());
    m_ui->language->addItem(QStringLiteral("Deutsch"), QStringLiteral("de_DE"));
    m_ui->language->addItem(QStringLiteral("English"), QStringLiteral("en_GB"));
    m_ui->language->setCurrentIndex(std::max(0, m_ui->language->findData(current.language)));

    connect(m_ui->buttonBrowseSavePath, &QToolButton::clicked, this,
            [this] { browseFolder(m_ui->savePath); });
    connect(m_ui->buttonBrowseBackupPath, &QToolButton::clicked, this,
            [this] { browseFolder(m_ui->backupPath); });
    connect(m_ui->buttonBrowseTexCompiler, &QToolButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getOpenFileName(this, tr("TeX-Compiler auswählen"),
                                                            m_ui->texCompiler->text());
        if (!chosen.isEmpty())
            m_ui->texCompiler->setText(chosen);
    });
    connect(m_ui->buttonManageLibraries, &QPushButton::clicked, this,
            &SettingsDialog::manageLibrariesRequested);
    connect(m_ui->buttonBox, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(&m_check, &QFutureWatcher<QStringList>::finished, this, &SettingsDialog::checked);
}

SettingsDialog::~SettingsDialog()
{
    m_check.waitForFinished(); // the check holds only copies; it ends within seconds
}

ProgramSettings SettingsDialog::edited() const
{
    ProgramSettings settings;
    settings.savePath = QDir::fromNativeSeparators(m_ui->savePath->text().trimmed());
    settings.backupPath = QDir::fromNativeSeparators(m_ui->backupPath->text().trimmed());
    settings.texCompiler = m_ui->texCompiler->text().trimmed();
    settings.language = m_ui->language->currentData().toString();
    return settings;
}

void SettingsDialog::browseFolder(QLineEdit *edit)
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, tr("Ordner auswählen"), QDir::fromNativeSeparators(edit->text()));
    if (!chosen.isEmpty())
        edit->setText(QDir::toNativeSeparators(chosen));
}

void SettingsDialog::accept()
{
    if (m_check.isRunning())
        return;
    m_ui->buttonBox->setEnabled(false);
    const ProgramSettings settings = edited();
    m_check.setFuture(QtConcurrent::run([settings] { return settings.problems(); }));
}

void SettingsDialog::checked()
{
    m_ui->buttonBox->setEnabled(true);
    const QStringList problems = m_check.result();
    if (!problems.isEmpty()) {
        qCWarning(logSystem) << "settings refused:" << problems;
        QMessageBox::warning(this, tr("Einstellungen nicht übernommen"),
                             tr("Diese Einstellungen lassen sich nicht verwenden:\n\n%1")
                                 .arg(problems.join(QLatin1Char('\n'))));
        return;
    }
    edited().apply();
    QDialog::accept();
}
