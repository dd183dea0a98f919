#include "analysis/ui/exportforlibrarydialog.h"

#include "ui_exportforlibrary.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSettings>
#include <QToolTip>

namespace {
const QString settingsKey = QStringLiteral("ExportForLibrary/lastUsedPath");
} // namespace

ExportForLibraryDialog::ExportForLibraryDialog(const QString &identifier,
                                               const QString &proposedName, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::ExportForLibrary>())
    , m_identifier(identifier)
{
    m_ui->setupUi(this);
    m_ui->buttonBox->button(QDialogButtonBox::Ok)->setText(QDialog::tr("Exportieren"));
    m_ui->name->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\w+"), QRegularExpression::UseUnicodePropertiesOption),
        m_ui->name));
    m_ui->name->setText(isValidEntryName(proposedName) ? proposedName : QString());
    m_ui->libraryPath->setText(QSettings().value(settingsKey).toString());
    connect(m_ui->buttonBrowse, &QPushButton::clicked, this, &ExportForLibraryDialog::browse);
    connect(m_ui->chemistry, &QLineEdit::textEdited, this,
            &ExportForLibraryDialog::chemistryEdited);
    connect(m_ui->labelChemistryTip, &QLabel::linkHovered, this, [this](const QString &link) {
        if (link.isEmpty())
            return;
        QToolTip::showText(
            m_ui->labelChemistryTip->mapToGlobal(m_ui->labelChemistryTip->rect().bottomLeft()),
            QDialog::tr("Tippen Sie ^ oder _, um den HTML-Code für hoch- bzw. tiefgestellten Text "
                        "einzufügen."),
            m_ui->labelChemistryTip);
    });
}

ExportForLibraryDialog::~ExportForLibraryDialog() = default;

void ExportForLibraryDialog::browse()
{
    const QString folder
        = QFileDialog::getExistingDirectory(this, QDialog::tr("Bibliotheksordner auswählen"),
                                            m_ui->libraryPath->text(), QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        m_ui->libraryPath->setText(folder);
}

void ExportForLibraryDialog::chemistryEdited(const QString &text)
{
    const QString replaced = chemistryMarkup(text);
    m_ui->labelPreviewChemistry->setText(replaced);
    if (replaced != text) {
        const int cursor = m_ui->chemistry->cursorPosition();
        m_ui->chemistry->setText(replaced);
        // Between the tags just inserted for the character before the cursor.
        m_ui->chemistry->setCursorPosition(cursor + 4);
    }
}

QString ExportForLibraryDialog::libraryPath() const
{
    return m_ui->libraryPath->text();
}

LibraryExportRecord ExportForLibraryDialog::exportRecord() const
{
    return libraryExportRecord(m_ui->name->text(), m_ui->wavelength->value(),
                               m_ui->orientation->currentIndex(), m_identifier);
}

LibraryExportOptions ExportForLibraryDialog::exportOptions() const
{
    LibraryExportOptions options;
    options.folder = libraryPath();
    options.record = exportRecord();
    options.chemistry = m_ui->chemistry->text();
    options.chemistryForAllWithName = m_ui->chemistryValidFor->currentIndex() == 1;
    options.rebuildCache = m_ui->clearCache->isChecked();
    return options;
}

void ExportForLibraryDialog::accept()
{
    if (!isValidEntryName(m_ui->name->text())) {
        QMessageBox::information(this, QDialog::tr("Ungültiger Name"),
                                 QDialog::tr("Bitte geben Sie einen gültigen Namen an."));
        return;
    }
    // Writing beside the root of the file system instead is never what the user meant.
    if (!libraryFolderProblem(libraryPath()).isEmpty()) {
        QMessageBox::information(
            this, QDialog::tr("Kein Bibliotheksordner"),
            QDialog::tr("Bitte wählen Sie einen vorhandenen Bibliotheksordner aus."));
        return;
    }
    QSettings().setValue(settingsKey, libraryPath());
    QDialog::accept();
}

void exportSpectrumForLibrary(const RamanData<Wavenumbers> &spectrum, const QString &proposedName,
                              QWidget *parent)
{
    ExportForLibraryDialog dialog(spectrumIdentifier(spectrum.y), proposedName, parent);
    if (dialog.exec() == QDialog::Accepted)
        exportToLibrary(spectrum, dialog.exportOptions());
}
