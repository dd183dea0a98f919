#include "analysis/ui/resultpanel.h"

#include "analysis/spectrumanalysis.h"
#include "analysis/ui/richtextitemdelegate.h"
#include "core/logging.h"
#include "library/model/mineralsortfilterproxymodel.h"
#include "library/model/ramanlibrarymodel.h"
#include "library/referencelibrary.h"
#include "pictures/ui/dialogshownicepic.h"
#include "pictures/ui/newmineralpicdialog.h"

#include "ui_spectrumanalysiswidget.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QUrl>
#include <QVBoxLayout>

ResultPanel::ResultPanel(Ui::SpectrumAnalysisWidget *ui, SpectrumAnalysis *analysis,
                         QWidget *parent)
    : QObject(parent)
    , m_ui(ui)
    , m_analysis(analysis)
    , m_parent(parent)
    , m_model(new RamanLibraryModel(this))
    , m_proxy(new MineralSortFilterProxyModel(this))
{
    m_proxy->setSourceModel(m_model);
    m_proxy->setDynamicSortFilter(false);
    m_proxy->setSortRole(RamanLibraryModel::SortRole);
    QTableView *table = m_ui->TViewRaBib;
    table->setModel(m_proxy);
    auto *delegate = new RichTextItemDelegate(table);
    table->setItemDelegateForColumn(RamanLibraryModel::FormulaColumn, delegate);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(delegate->rowHeight(table->font()));
    // The confidence belongs next to the score it qualifies.
    table->horizontalHeader()->moveSection(RamanLibraryModel::ConfidenceColumn, 1);
    table->horizontalHeader()->moveSection(RamanLibraryModel::GroupColumn, 2);
    m_model->setConfidenceRule(confidenceRuleText());
    for (const int column : {RamanLibraryModel::ConfidenceColumn, RamanLibraryModel::GroupColumn})
        table->setColumnHidden(column, true);
    table->setSortingEnabled(true);
    table->sortByColumn(RamanLibraryModel::ScoreColumn, Qt::DescendingOrder);
    table->resizeColumnsToContents();
    table->setColumnWidth(RamanLibraryModel::FormulaColumn,
                          delegate->formulaColumnWidth(table->font()));
    keepFormulaInView();
    m_ui->lNumRows->setMinimumWidth(
        m_ui->lNumRows->fontMetrics().horizontalAdvance(QStringLiteral("000.000")));
    for (QLineEdit *filter : {m_ui->EditScrollToInput, m_ui->elementFilter})
        filter->setMinimumWidth(filter->fontMetrics().horizontalAdvance(filter->placeholderText())
                                + filter->minimumSizeHint().width());

    connect(m_ui->EditScrollToInput, &QLineEdit::textChanged, this, &ResultPanel::applyFilter);
    connect(m_ui->elementFilter, &QLineEdit::textChanged, this, &ResultPanel::applyFilter);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ResultPanel::selectionChanged);
    connect(table, &QWidget::customContextMenuRequested, this, &ResultPanel::showContextMenu);
    connect(m_ui->actionClearSelected, &QAction::triggered, table,
            &QAbstractItemView::clearSelection);
    updateRowCount();
}

ResultPanel::~ResultPanel()
{
    if (m_newPicDialog && !m_newPicDialog->parent())
        delete m_newPicDialog;
}

void ResultPanel::setLibrary(std::shared_ptr<const ReferenceLibrary> library, bool loading)
{
    m_library = std::move(library);
    if (!m_library)
        return;
    const QVector<rruff_infos> &infos = m_library->infos();
    showNoLibraryHint(infos.isEmpty() && !loading);
    emit libraryRowsChanged();
    m_model->setLibraryData(infos);
    m_model->setResultScores(m_analysis->outcome().scores);
    m_ui->TViewRaBib->resizeColumnsToContents();
    keepFormulaInView();
    applyFilter();
}

// The score, the name and the whole formula stay in view; the columns after them may scroll.
// A formula longer than three default widths is clipped rather than widening the window.
void ResultPanel::keepFormulaInView()
{
    QTableView *table = m_ui->TViewRaBib;
    QHeaderView *header = table->horizontalHeader();
    const auto *delegate = static_cast<RichTextItemDelegate *>(
        table->itemDelegateForColumn(RamanLibraryModel::FormulaColumn));
    const int widest = 3 * delegate->formulaColumnWidth(table->font());
    if (header->sectionSize(RamanLibraryModel::FormulaColumn) > widest)
        table->setColumnWidth(RamanLibraryModel::FormulaColumn, widest);
    int width = 2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width();
    for (int column : {RamanLibraryModel::ScoreColumn, RamanLibraryModel::ConfidenceColumn,
                       RamanLibraryModel::GroupColumn, RamanLibraryModel::NameColumn,
                       RamanLibraryModel::FormulaColumn}) {
        if (!table->isColumnHidden(column))
            width += header->sectionSize(column);
    }
    table->setMinimumWidth(width);
}

// An empty table would look like a search that found nothing.
void ResultPanel::showNoLibraryHint(bool show)
{
    QWidget *viewport = m_ui->TViewRaBib->viewport();
    if (!m_noLibraryHint && show) {
        m_noLibraryHint = new QWidget(viewport);
        m_noLibraryHint->setObjectName(QStringLiteral("noLibraryHint"));
        auto *layout = new QVBoxLayout(m_noLibraryHint);
        auto *text = new QLabel(tr("<p><b>Keine Referenzbibliothek eingerichtet.</b></p><p>Ohne "
                                   "Bibliothek lässt sich das Spektrum nicht identifizieren. "
                                   "Richten Sie eigene Bibliotheksordner ein oder laden Sie "
                                   "öffentliche Sammlungen herunter.</p>"));
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignCenter);
        auto *manage = new QPushButton(tr("Bibliotheken verwalten ..."));
        layout->addStretch();
        layout->addWidget(text);
        layout->addWidget(manage, 0, Qt::AlignCenter);
        layout->addStretch();
        connect(manage, &QPushButton::clicked, this, &ResultPanel::manageLibrariesRequested);
        viewport->installEventFilter(this);
    }
    if (m_noLibraryHint) {
        m_noLibraryHint->setGeometry(viewport->rect());
        m_noLibraryHint->setVisible(show);
    }
}

bool ResultPanel::eventFilter(QObject *watched, QEvent *event)
{
    // The table may be half destroyed when its viewport's last events pass here: look at nothing
    // but the event and the hint's own parent.
    if (event->type() == QEvent::Resize && m_noLibraryHint
        && watched == m_noLibraryHint->parentWidget())
        m_noLibraryHint->setGeometry(static_cast<QWidget *>(watched)->rect());
    return QObject::eventFilter(watched, event);
}

void ResultPanel::showScores()
{
    const AnalysisOutcome &outcome = m_analysis->outcome();
    const bool complete = outcome.scores.size() == m_model->infos().size();
    QHash<int, QString> confidences, groups;
    int answerRow = -1;
    QString answerNote;
    if (complete && !outcome.minerals.minerals.isEmpty()) {
        const QVector<MineralHit> &minerals = outcome.minerals.minerals;
        answerRow = minerals.constFirst().spectrum;
        confidences.insert(answerRow, MineralSearch::confidenceText(outcome.minerals.confidence));
        if (outcome.minerals.reordered && minerals.size() > 1)
            answerNote = tr("Vor %1 gestellt, obwohl knapp schlechter bewertet: die Banden, in "
                            "denen sich die Referenzen beider Minerale unterscheiden, sprechen "
                            "für %2.")
                             .arg(minerals[1].name, minerals[0].name);
        // The group and its confidence on the answer's row, the group on its other candidates.
        const GroupAnswer &group = outcome.group;
        for (const MineralHit &hit : outcome.minerals.minerals) {
            if (group.group.isEmpty() || group.candidates.size() == groups.size())
                break;
            if (group.candidates.contains(hit.name))
                groups.insert(hit.spectrum,
                              groups.isEmpty() ? QStringLiteral("%1: %2").arg(
                                  group.group, MineralSearch::confidenceText(group.confidence))
                                               : group.group);
        }
    }
    m_model->setResultScores(complete ? outcome.scores : QVector<double>(), confidences, groups,
                             answerRow, answerNote);
    for (const int column : {RamanLibraryModel::ConfidenceColumn, RamanLibraryModel::GroupColumn})
        m_ui->TViewRaBib->setColumnHidden(column, !m_model->hasConfidences());
    keepFormulaInView();
    updateSort();
    updateRowCount();
}

QVector<int> ResultPanel::selectedSourceRows() const
{
    QVector<int> rows;
    for (const QModelIndex &index : m_ui->TViewRaBib->selectionModel()->selectedRows())
        rows.append(m_proxy->mapToSource(index).row());
    return rows;
}

QString ResultPanel::selectedName() const
{
    const QVector<int> rows = selectedSourceRows();
    return rows.isEmpty() ? QString() : m_model->infos().value(rows[0]).name;
}

QVector<QVector<double>> ResultPanel::listedMineralLines() const
{
    QVector<QVector<double>> lines;
    if (!m_library)
        return lines;
    QSet<QString> names;
    for (int i = 0; i < m_proxy->rowCount(); ++i) {
        const int row = m_proxy->mapToSource(m_proxy->index(i, 0)).row();
        if (row >= m_library->count())
            continue;
        const QString name = m_model->infos().value(row).name;
        if (names.contains(name))
            continue;
        names.insert(name);
        QVector<double> positions;
        for (const FingerprintPeak &peak : m_library->fingerprint(row).peaks)
            positions.append(peak.position);
        lines.append(positions);
    }
    return lines;
}

void ResultPanel::applyFilter()
{
    m_proxy->setFilter(m_ui->EditScrollToInput->text(), m_ui->elementFilter->text());
    updateSort();
    updateRowCount();
    emit filterChanged();
}

void ResultPanel::updateSort()
{
    const int column = m_proxy->sortColumn() >= 0 ? m_proxy->sortColumn() : 0;
    m_proxy->sort(column, m_proxy->sortColumn() >= 0 ? m_proxy->sortOrder() : Qt::DescendingOrder);
}

void ResultPanel::updateRowCount()
{
    m_ui->lNumRows->setText(QLocale().toString(m_proxy->rowCount()));
}

// Through the selection model: the view would read the held Ctrl of the shortcut as "toggle" and
// unselect the row again.
void ResultPanel::selectFirstRow()
{
    QItemSelectionModel *selection = m_ui->TViewRaBib->selectionModel();
    if (m_proxy->rowCount() == 0) {
        selection->clearSelection();
        return;
    }
    selection->setCurrentIndex(m_proxy->index(0, 0),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ResultPanel::selectNumbers(const QStringList &numbers)
{
    if (!m_library)
        return;
    QItemSelection selection;
    for (const QString &number : numbers) {
        const int row = m_library->indexOfNumber(number);
        const QModelIndex index = m_proxy->mapFromSource(m_model->index(row, 0));
        if (index.isValid())
            selection.select(index, index);
    }
    m_ui->TViewRaBib->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect
                                                              | QItemSelectionModel::Rows);
}

QImage ResultPanel::renderImage() const
{
    return m_ui->TViewRaBib->grab().toImage();
}

void ResultPanel::openWebPage(int sourceRow, int site)
{
    const rruff_infos info = m_model->infos().value(sourceRow);
    const QString name = QString::fromUtf8(QUrl::toPercentEncoding(info.name));
    switch (site) {
    case 0:
        if (!QDesktopServices::openUrl(QUrl(QStringLiteral("https://rruff.info/") + info.rruffId)))
            qCWarning(logUiGeneral) << "RRUFF web page page could not be opened";
        break;
    case 1:
        if (!QDesktopServices::openUrl(
                QUrl(QStringLiteral("https://www.mindat.org/search.php?search=") + name)))
            qCWarning(logUiGeneral) << "Mindat web page could not be opened";
        break;
    default:
        if (!QDesktopServices::openUrl(
                QUrl(QStringLiteral(
                         "https://www.mineralienatlas.de/lexikon/index.php/MineralData?mineral=")
                     + name)))
            qCWarning(logUiGeneral) << "Mineralienatlas web page could not be opened";
        break;
    }
}

void ResultPanel::showContextMenu(const QPoint &pos)
{
    const QModelIndex index = m_ui->TViewRaBib->indexAt(pos);
    if (!index.isValid() || !m_library)
        return;
    const int row = m_proxy->mapToSource(index).row();
    const QString name = m_model->infos().value(row).name;
    QMenu menu(m_parent);
    QAction *analyse = menu.addAction(tr("Dieses Spektrum analysieren"));
    QAction *rruff = menu.addAction(tr("RRUFF-Seite im Browser anzeigen"));
    QAction *mindat = menu.addAction(tr("Mindat-Seite im Browser anzeigen"));
    QAction *atlas = menu.addAction(tr("Mineralienatlas-Seite im Browser anzeigen"));
    menu.addSeparator();
    QAction *showPicture = menu.addAction(tr("Erkennungs-Bild anzeigen"));
    QAction *add = menu.addAction(tr("Erkennungs-Bild hinzufügen für %1").arg(name));
    QAction *chosen = menu.exec(m_ui->TViewRaBib->viewport()->mapToGlobal(pos));
    if (chosen == analyse) {
        emit analyseRequested(row);
    } else if (chosen == rruff || chosen == mindat || chosen == atlas) {
        openWebPage(row, chosen == rruff ? 0 : chosen == mindat ? 1 : 2);
    } else if (chosen == showPicture) {
        auto *dialog = new DialogShowNicePic(m_parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setMineral(name);
        dialog->show();
    } else if (chosen == add) {
        if (!m_newPicDialog) {
            m_newPicDialog = new NewMineralPicDialog(m_parent->parentWidget());
            connect(m_newPicDialog, &NewMineralPicDialog::infoNicePicChanged, m_model,
                    &RamanLibraryModel::picturesChanged);
        }
        m_newPicDialog->setMineral(name);
        m_newPicDialog->show();
    }
}
