#include "savedata_view/ui/sampledatadialog.h"

#include "savedata_view/ui/dateselectdialog.h"
#include "widgets/geometryrestore.h"

#include "ui_sampledatadialog.h"

#include <QSettings>

namespace {

const QString defaultsGroup = QStringLiteral("DefaultSampleMetadata");

} // namespace

SampleDataDialog::SampleDataDialog(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::GetSampleDataDialog>())
{
    new GeometryRestore(this, QStringLiteral("GetSampleDataDialog"));
    m_ui->setupUi(this);
    m_dateDialog = new DateSelectDialog(this);
    applyDateFormat();

    connect(m_ui->buttonBox, &QDialogButtonBox::accepted, this, &SampleDataDialog::accept);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_ui->rButtYear, &QRadioButton::toggled, this, &SampleDataDialog::applyDateFormat);
    connect(m_ui->rButtYearMonthDay, &QRadioButton::toggled, this,
            &SampleDataDialog::applyDateFormat);
    connect(m_ui->tButtDateChooser, &QToolButton::clicked, m_dateDialog, &QDialog::exec);
    connect(m_dateDialog, &QDialog::accepted, this, &SampleDataDialog::takeChosenDate);
    connect(m_ui->cBoxNoDate, &QCheckBox::toggled, m_ui->dEditFoundDate, &QWidget::setDisabled);
    connect(m_ui->tEditRemark, &QPlainTextEdit::textChanged, this, &SampleDataDialog::limitRemark);

    loadDefaults();
}

SampleDataDialog::~SampleDataDialog() = default;

void SampleDataDialog::applyDateFormat()
{
    m_ui->dEditFoundDate->setDisplayFormat(
        m_ui->rButtYear->isChecked() ? QStringLiteral("yyyy") : QStringLiteral("dd.MM.yyyy"));
}

void SampleDataDialog::takeChosenDate()
{
    applyDateFormat();
    m_ui->dEditFoundDate->setDate(m_dateDialog->date());
}

void SampleDataDialog::limitRemark()
{
    // Undoes the keystroke that went over the limit.
    if (m_ui->tEditRemark->toPlainText().length() > MaxRemarkLength)
        m_ui->tEditRemark->textCursor().deletePreviousChar();
}

void SampleDataDialog::loadDefaults()
{
    QSettings settings;
    settings.beginGroup(defaultsGroup);
    m_ui->EditOwner->setText(settings.value(QStringLiteral("owner")).toString());
    m_ui->EditCollectionName->setText(settings.value(QStringLiteral("collectionName")).toString());
    m_ui->EditCollectionNumber->setText(tr("Unbenannt"));
    m_ui->EditLocation->setText(settings.value(QStringLiteral("Location")).toString());
    m_ui->rButtYearMonthDay->setChecked(
        settings.value(QStringLiteral("rButtonYearMonthDay"), true).toBool());
    m_ui->rButtYear->setChecked(settings.value(QStringLiteral("rButtonYear"), false).toBool());
    settings.endGroup();
}

void SampleDataDialog::storeDefaults() const
{
    QSettings settings;
    settings.beginGroup(defaultsGroup);
    settings.setValue(QStringLiteral("owner"), m_ui->EditOwner->text());
    settings.setValue(QStringLiteral("collectionName"), m_ui->EditCollectionName->text());
    settings.setValue(QStringLiteral("Location"), m_ui->EditLocation->text());
    settings.setValue(QStringLiteral("rButtonYearMonthDay"), m_ui->rButtYearMonthDay->isChecked());
    settings.setValue(QStringLiteral("rButtonYear"), m_ui->rButtYear->isChecked());
    settings.setValue(QStringLiteral("FoundDate"), m_ui->dEditFoundDate->text());
    settings.endGroup();
}

void SampleDataDialog::setData(const SaveDataMetadata &metadata)
{
    m_ui->EditOwner->setText(metadata.owner);
    m_ui->EditCollectionName->setText(metadata.collection_name);
    m_ui->EditCollectionNumber->setText(metadata.collection_id);
    m_ui->EditLocation->setText(metadata.location);
    if (metadata.found_date_year_only)
        m_ui->rButtYear->setChecked(true);
    else
        m_ui->rButtYearMonthDay->setChecked(true);
    m_ui->dEditFoundDate->setDate(metadata.found_date);
    m_ui->cBoxNoDate->setChecked(metadata.nodate);
    m_ui->tEditRemark->setPlainText(metadata.mineral_comment);
    m_ui->rating->setRating(metadata.rating);
}

SaveDataMetadata SampleDataDialog::data(const SaveDataMetadata &metadata) const
{
    SaveDataMetadata result = metadata;
    result.owner = m_ui->EditOwner->text();
    result.collection_name = m_ui->EditCollectionName->text();
    result.collection_id = m_ui->EditCollectionNumber->text();
    result.location = m_ui->EditLocation->text();
    result.nodate = m_ui->cBoxNoDate->isChecked();
    const QDate shown = m_ui->dEditFoundDate->date();
    if (m_ui->rButtYear->isChecked()) {
        result.found_date = QDate(shown.year(), 1, 1);
        result.found_date_year_only = true;
    } else if (m_ui->rButtYearMonthDay->isChecked()) {
        result.found_date = shown;
        result.found_date_year_only = false;
    }
    result.mineral_comment = m_ui->tEditRemark->toPlainText();
    result.rating = m_ui->rating->rating();
    return result;
}

void SampleDataDialog::accept()
{
    storeDefaults();
    m_accepted = true;
    QDialog::accept();
}
