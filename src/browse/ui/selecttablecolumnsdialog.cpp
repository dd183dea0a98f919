#include "browse/ui/selecttablecolumnsdialog.h"

#include "browse/savedatabrowsemodel.h"

#include "ui_selecttablecolumnsdialog.h"

#include <QSettings>

const QString SelectTableColumnsDialog::settingsKey
    = QStringLiteral("SaveDataBrowseWidget/EnabledColumns");

SelectTableColumnsDialog::SelectTableColumnsDialog(SaveDataBrowseModel *model, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::DialogSelectTableColumns>())
    , m_model(model)
{
    m_ui->setupUi(this);
    connect(m_ui->buttonBox, &QDialogButtonBox::accepted, this, &SelectTableColumnsDialog::accept);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (int column = 0; column < model->columnCount(); ++column)
        m_ui->listWidget->addItem(model->headerData(column, Qt::Horizontal).toString());
    loadSelection();
}

SelectTableColumnsDialog::~SelectTableColumnsDialog() = default;

QVector<int> SelectTableColumnsDialog::selectedColumns() const
{
    QVector<int> columns;
    if (!m_model)
        return columns;
    const QModelIndexList selected = m_ui->listWidget->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected)
        columns.append(index.row());
    return columns;
}

void SelectTableColumnsDialog::loadSelection()
{
    QListWidget *list = m_ui->listWidget;
    list->clearSelection();
    QSettings settings;
    if (!settings.contains(settingsKey)) {
        list->selectAll();
        return;
    }
    const QStringList stored = settings.value(settingsKey).toStringList();
    for (const QString &text : stored) {
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->text() == text) {
                list->item(row)->setSelected(true);
                break;
            }
        }
    }
}

void SelectTableColumnsDialog::accept()
{
    if (!m_model)
        return;
    QStringList texts;
    const QVector<int> columns = selectedColumns();
    for (int column : columns)
        texts.append(m_model->headerData(column, Qt::Horizontal).toString());
    QSettings().setValue(settingsKey, texts);
    QDialog::accept();
}
