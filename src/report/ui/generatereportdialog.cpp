#include "report/ui/generatereportdialog.h"

#include "ui_generatereportdialog.h"

#include "core/suggestedfilename.h"
#include "widgets/desktopopen.h"
#include "widgets/waitcursor.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

namespace {

const char *const openAfterKey = "OpenReportAfterGenerating";
const char *const lastLogoKey = "LastReportLogoUsed";
const char *const lastTemplateKey = "LastReportTemplateUsed";
const char *const lastReportKey = "LastExportedReportPath";

} // namespace

GenerateReportDialog::GenerateReportDialog(const SaveData &data, int row, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::DialogGenerateReport>())
    , m_generator(data)
    , m_row(row)
{
    m_ui->setupUi(this);
    const QString saveAs = tr("Speichern unter ...");
    m_ui->buttonBox->button(QDialogButtonBox::Ok)->setText(saveAs);
    m_ui->errors->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_ui->errors->setPlainText(tr("Klicken Sie „%1“, um den Bericht zu erzeugen.").arg(saveAs));
    m_suggestedTarget = suggestedTarget(data, row);

    const QSettings settings;
    m_ui->cBoxOpenWhenDone->setChecked(settings.value(QLatin1String(openAfterKey), true).toBool());
    m_ui->logoPath->setText(settings.value(QLatin1String(lastLogoKey)).toString());
    m_ui->templatePath->setText(settings.value(QLatin1String(lastTemplateKey)).toString());
    m_ui->pdflatexPath->setText(ReportGenerator::texCompilerPath());

    connect(m_ui->cBoxOpenWhenDone, &QCheckBox::toggled, this,
            [](bool checked) { QSettings().setValue(QLatin1String(openAfterKey), checked); });
    connect(m_ui->pdflatexPath, &QLineEdit::textChanged, this,
            &ReportGenerator::setTexCompilerPath);
    connect(m_ui->buttonBrowse, &QToolButton::clicked, this, &GenerateReportDialog::browseCompiler);
    connect(m_ui->buttonBrowseTemplate, &QToolButton::clicked, this,
            &GenerateReportDialog::browseTemplate);
    connect(m_ui->buttonBrowseLogo, &QToolButton::clicked, this, &GenerateReportDialog::browseLogo);
    connect(m_ui->buttonBox, &QDialogButtonBox::accepted, this, &GenerateReportDialog::saveReport);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

GenerateReportDialog::~GenerateReportDialog() = default;

// Beside the measurement, named after what was found at the point.
QString GenerateReportDialog::suggestedTarget(const SaveData &data, int row) const
{
    QString folder = data.folderPath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QFileInfo(QSettings().value(QLatin1String(lastReportKey)).toString()).path();
    const std::optional<SaveDataSector> sector = data.sector(row);
    QString found = sector ? sector->identificationData.mineral_final_identification : QString();
    if (found.isEmpty())
        found = data.metadata().collection_id;
    const QString name = tr("%1 Messpunkt %2").arg(found).arg(row + 1).trimmed();
    return QDir(folder).filePath(suggestedFileName(name, QStringLiteral("pdf")));
}

void GenerateReportDialog::browseCompiler()
{
    const QString chosen = QFileDialog::getOpenFileName(this, tr("TeX-Compiler auswählen"));
    const QFileInfo canonical(QFileInfo(chosen).canonicalFilePath());
    if (chosen.isEmpty() || !canonical.isFile() || !canonical.isExecutable()) {
        QMessageBox::warning(this, tr("Kein gültiges Programm"),
                             tr("Bitte wählen Sie eine ausführbare Datei aus."), QMessageBox::Ok);
        return;
    }
    // As chosen: a link such as /usr/bin/pdflatex keeps working when TeX Live is updated.
    m_ui->pdflatexPath->setText(chosen);
}

void GenerateReportDialog::browseTemplate()
{
    m_ui->templatePath->setText(QFileDialog::getOpenFileName(
        this, tr("Template auswählen"), m_ui->templatePath->text(), tr("LaTeX-Dateien (*.tex);;")));
}

void GenerateReportDialog::browseLogo()
{
    m_ui->logoPath->setText(QFileDialog::getOpenFileName(this, tr("Logo auswählen")));
}

void GenerateReportDialog::saveReport()
{
    QSettings settings;
    const QString target = QFileDialog::getSaveFileName(
        this, tr("Bericht speichern"), m_suggestedTarget, tr("PDF-Dokumente (*.pdf)"));
    if (target.isEmpty())
        return;
    m_suggestedTarget = target;
    settings.setValue(QLatin1String(lastReportKey), target);
    settings.setValue(QLatin1String(lastLogoKey), m_ui->logoPath->text());
    settings.setValue(QLatin1String(lastTemplateKey), m_ui->templatePath->text());

    m_generator.setLogoAndTemplate(m_ui->logoPath->text(), m_ui->templatePath->text());
    bool generated = false;
    {
        const WaitCursor wait; // the compiler runs on this thread
        generated = m_generator.generate(target, m_row);
    }
    if (generated) {
        if (m_ui->cBoxOpenWhenDone->isChecked())
            openOnDesktop(target, this);
        accept();
        return;
    }
    QMessageBox::warning(this, tr("Bericht generieren fehlgeschlagen"),
                         tr("Das Generieren des Berichts ist fehlgeschlagen."), QMessageBox::Ok);
    const QStringList errors = m_generator.errors();
    for (const QString &error : errors)
        m_ui->errors->appendPlainText(error);
}
