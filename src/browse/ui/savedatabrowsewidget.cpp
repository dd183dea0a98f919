#include "browse/ui/savedatabrowsewidget.h"

#include "browse/savedatabrowsemodel.h"
#include "browse/ui/selecttablecolumnsdialog.h"

#include "ui_savedatabrowsewidget.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QStyleOptionViewItem>

SaveDataBrowseWidget::SaveDataBrowseWidget(QWidget *parent)
    : QWidget(parent)
    , m_filterModel(new SaveDataBrowseFilterModel(this))
    , m_model(new SaveDataBrowseModel(this))
    , m_columnsDialog(new SelectTableColumnsDialog(m_model, this))
    , m_ui(std::make_unique<Ui::SaveDataBrowseWidget>())
{
    m_ui->setupUi(this);
    m_ui->ratingMin->setRating(1);
    m_filterModel->setSourceModel(m_model);
    // A view in single selection selects the neighbour of a row that a filter or a reload
    // removes, in the middle of the model's change; only the user's choice of a row counts. The
    // change is known here before the view hears of it, and ends after the view settled.
    connect(m_filterModel, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &SaveDataBrowseWidget::beginRowChange);
    connect(m_filterModel, &QAbstractItemModel::rowsAboutToBeInserted, this,
            &SaveDataBrowseWidget::beginRowChange);
    connect(m_filterModel, &QAbstractItemModel::rowsAboutToBeMoved, this,
            &SaveDataBrowseWidget::beginRowChange);
    connect(m_filterModel, &QAbstractItemModel::layoutAboutToBeChanged, this,
            &SaveDataBrowseWidget::beginRowChange);
    connect(m_filterModel, &QAbstractItemModel::modelAboutToBeReset, this,
            &SaveDataBrowseWidget::beginRowChange);
    m_ui->tableView->setModel(m_filterModel);
    for (const auto signal : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::rowsInserted})
        connect(m_filterModel, signal, this, &SaveDataBrowseWidget::endRowChange);
    connect(m_filterModel, &QAbstractItemModel::rowsMoved, this,
            &SaveDataBrowseWidget::endRowChange);
    connect(m_filterModel, &QAbstractItemModel::layoutChanged, this,
            &SaveDataBrowseWidget::endRowChange);
    connect(m_filterModel, &QAbstractItemModel::modelReset, this,
            &SaveDataBrowseWidget::endRowChange);
    setUpTableView();

    connect(m_ui->tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SaveDataBrowseWidget::announceSelection);
    connect(m_ui->buttonSelectColumns, &QPushButton::clicked, this,
            &SaveDataBrowseWidget::chooseColumns);
    for (QLineEdit *edit : {m_ui->lineEditOwner, m_ui->lineEditResult, m_ui->lineEditId})
        connect(edit, &QLineEdit::textChanged, this, &SaveDataBrowseWidget::publishFilter);
    connect(m_ui->ratingMin, &RatingLabel::ratingChanged, this,
            &SaveDataBrowseWidget::publishFilter);
    connect(m_ui->cBoxHideEmpty, &QCheckBox::toggled, this, &SaveDataBrowseWidget::publishFilter);
    connect(m_ui->cBoxHideUnrated, &QCheckBox::toggled, this, &SaveDataBrowseWidget::publishFilter);
    connect(m_model, &SaveDataBrowseModel::loadingFinished, m_ui->tableView,
            &QTableView::resizeColumnsToContents);
    connect(this, &SaveDataBrowseWidget::filterChanged, m_filterModel,
            &SaveDataBrowseFilterModel::setFilter);

    publishFilter();
    updateColumnsShown();
}

SaveDataBrowseWidget::~SaveDataBrowseWidget() = default;

void SaveDataBrowseWidget::setUpTableView()
{
    QTableView *view = m_ui->tableView;
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.font = view->font();
    option.text = QStringLiteral("M");
    option.features |= QStyleOptionViewItem::HasDisplay;
    const int lineHeight
        = view->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), view).height();
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(lineHeight);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setMinimumSectionSize(4);
    // Sizing the columns from thousands of rows would freeze the window at the end of a large
    // scan; the rows around the visible ones are a good enough sample.
    view->horizontalHeader()->setResizeContentsPrecision(ResizeSampleRows);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSortingEnabled(true);
    view->sortByColumn(SaveDataBrowseModel::RatingColumn, Qt::AscendingOrder);
}

QString SaveDataBrowseWidget::directory() const
{
    return m_model->directory();
}

int SaveDataBrowseWidget::selectedRow() const
{
    const QModelIndexList rows = m_ui->tableView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    return m_filterModel->mapToSource(rows.constFirst()).row();
}

bool SaveDataBrowseWidget::selectFolder(const QString &folder)
{
    for (int row = 0; row < m_filterModel->rowCount(); ++row) {
        if (m_filterModel->index(row, 0).data(SaveDataBrowseModel::FolderPathRole) == folder) {
            m_ui->tableView->selectRow(row);
            return true;
        }
    }
    return false;
}

QString SaveDataBrowseWidget::querySelectSourceDirectory(const QString &suggested)
{
    const QString directory = QFileDialog::getExistingDirectory(
        this, tr("Speicherdaten-Quellverzeichnis auswählen"), suggested, QFileDialog::ShowDirsOnly);
    if (!directory.isEmpty())
        selectSourceDirectory(directory);
    return directory;
}

void SaveDataBrowseWidget::selectSourceDirectory(const QString &directory)
{
    m_model->setDirectory(directory);
}

void SaveDataBrowseWidget::updateColumnsShown()
{
    const QVector<int> shown = m_columnsDialog->selectedColumns();
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_ui->tableView->setColumnHidden(column, !shown.contains(column));
    m_ui->tableView->resizeColumnsToContents();
}

void SaveDataBrowseWidget::announceSelection(const QItemSelection &selected)
{
    const QModelIndexList indexes = selected.indexes();
    if (indexes.isEmpty() || m_rowChangeDepth > 0)
        return;
    const QModelIndex source = m_filterModel->mapToSource(indexes.constFirst());
    emit directorySelected(source.data(SaveDataBrowseModel::FolderPathRole).toString());
}

void SaveDataBrowseWidget::beginRowChange()
{
    if (m_rowChangeDepth++ == 0)
        m_selectedBeforeRowChange = selectedFolder();
}

// A row the model change selected is no choice of the user's: the selection goes, and what is
// shown stays shown.
void SaveDataBrowseWidget::endRowChange()
{
    if (--m_rowChangeDepth == 0 && selectedFolder() != m_selectedBeforeRowChange)
        m_ui->tableView->selectionModel()->clearSelection();
}

QString SaveDataBrowseWidget::selectedFolder() const
{
    const QModelIndexList rows = m_ui->tableView->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString()
                          : rows.constFirst().data(SaveDataBrowseModel::FolderPathRole).toString();
}

void SaveDataBrowseWidget::clearSelection()
{
    m_ui->tableView->selectionModel()->clearSelection();
}

void SaveDataBrowseWidget::chooseColumns()
{
    if (m_columnsDialog->exec() == QDialog::Accepted)
        updateColumnsShown();
    else
        m_columnsDialog->loadSelection();
}

void SaveDataBrowseWidget::publishFilter()
{
    SaveDataBrowseFilterModel::Filter filter;
    filter.owner = m_ui->lineEditOwner->text();
    filter.result = m_ui->lineEditResult->text();
    filter.identifier = m_ui->lineEditId->text();
    filter.minRating = m_ui->ratingMin->rating();
    filter.hideEmpty = m_ui->cBoxHideEmpty->isChecked();
    filter.hideUnrated = m_ui->cBoxHideUnrated->isChecked();
    emit filterChanged(filter);
}
