#include "savedata_view/ui/dateselectdialog.h"

#include "core/logging.h"
#include "widgets/geometryrestore.h"

#include "ui_dateselectdialog.h"

DateSelectDialog::DateSelectDialog(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::DialogDate>())
{
    new GeometryRestore(this, QStringLiteral("DialogDate"));
    m_ui->setupUi(this);
    m_ui->calendarWidget->setDateRange(QDate(1, 1, 1), QDate(2200, 1, 1));
    connect(m_ui->buttonBox, &QDialogButtonBox::accepted, this, &DateSelectDialog::confirm);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

DateSelectDialog::~DateSelectDialog() = default;

void DateSelectDialog::confirm()
{
    qCDebug(logUiGeneral) << "Ok button gedrückt" << m_ui->calendarWidget->yearShown();
    accept();
}

QDate DateSelectDialog::date() const
{
    const int day = m_ui->calendarWidget->selectedDate().day();
    const int month = m_ui->calendarWidget->monthShown();
    const int year = m_ui->calendarWidget->yearShown();
    qCDebug(logUiGeneral) << day << " returning day";
    qCDebug(logUiGeneral) << month << " returning month";
    qCDebug(logUiGeneral) << year << " returning year";
    return QDate(year, month, day);
}
