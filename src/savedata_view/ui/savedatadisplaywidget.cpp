#include "savedata_view/ui/savedatadisplaywidget.h"

#include "core/logging.h"
#include "report/summarypage.h"
#include "report/ui/generatereportdialog.h"
#include "savedata_view/savedatamodel.h"
#include "savedata_view/ui/sampledatadialog.h"
#include "widgets/desktopopen.h"
#include "widgets/waitcursor.h"

#include "ui_savedatadisplaywidget.h"

#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QSettings>

namespace {
const QString splitterKey = QStringLiteral("SaveDataDisplayWidget/SplitterState");
const QString splitter2Key = QStringLiteral("SaveDataDisplayWidget/Splitter2State");
} // namespace

SaveDataDisplayWidget::SaveDataDisplayWidget(QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::SaveDataDisplayWidget>())
{
    m_ui->setupUi(this);
    QTreeView *tree = m_ui->treeView;
    tree->setHeaderHidden(true);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QWidget::customContextMenuRequested, this,
            &SaveDataDisplayWidget::doTreeContextMenu);
    connect(m_ui->buttonEditMetadata, &QPushButton::clicked, this,
            &SaveDataDisplayWidget::editMetadata);
    connect(m_ui->buttonAnalyze, &QPushButton::clicked, this,
            &SaveDataDisplayWidget::analyzeSectionData);
    setFeatures(0);
    // The picture is what the user looks for; the tree and the metadata need less room.
    m_ui->splitter_2->setSizes({300, 500});
    m_ui->splitter->setSizes({300, 300});

    const QSettings settings;
    m_ui->splitter->restoreState(settings.value(splitterKey).toByteArray());
    m_ui->splitter_2->restoreState(settings.value(splitter2Key).toByteArray());
}

SaveDataDisplayWidget::~SaveDataDisplayWidget()
{
    QSettings settings;
    settings.setValue(splitterKey, m_ui->splitter->saveState());
    settings.setValue(splitter2Key, m_ui->splitter_2->saveState());
}

void SaveDataDisplayWidget::setModel(SaveDataModel *model)
{
    m_model = model;
    QTreeView *tree = m_ui->treeView;
    tree->setModel(model);
    connect(model, &QAbstractItemModel::dataChanged, this,
            &SaveDataDisplayWidget::previewDataChanged);
    connect(model, &SaveDataModel::metadataChanged, this, &SaveDataDisplayWidget::metadataChanged);
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this, tree] { tree->expand(m_model->index(m_model->rowCount() - 1, 0)); });
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
            &SaveDataDisplayWidget::rememberSelectedItem);
    connect(model, &QAbstractItemModel::modelReset, this,
            &SaveDataDisplayWidget::restoreSelectedItem);
    connect(tree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SaveDataDisplayWidget::selectionChanged);
    metadataChanged();
    selectionChanged();
}

void SaveDataDisplayWidget::setFeatures(unsigned mask)
{
    m_features = mask;
    m_ui->buttonEditMetadata->setVisible(mask & EditMetadataFeature);
    m_ui->buttonAnalyze->setVisible(mask & AnalyzeFeature);
}

void SaveDataDisplayWidget::rememberSelectedItem()
{
    const QModelIndexList selected = m_ui->treeView->selectionModel()->selectedIndexes();
    if (!selected.isEmpty() && selected.first().parent().isValid())
        m_rememberedItemRow = selected.first().row();
}

void SaveDataDisplayWidget::restoreSelectedItem()
{
    const QModelIndex first = m_model->index(0, 0);
    m_ui->treeView->expand(first);
    if (m_model->rowCount() < 1)
        return;
    const QItemSelection item(m_model->index(m_rememberedItemRow, 0, first),
                              m_model->index(m_rememberedItemRow, 1, first));
    m_ui->treeView->selectionModel()->select(item, QItemSelectionModel::ClearAndSelect);
}

void SaveDataDisplayWidget::selectionChanged()
{
    const QModelIndexList selected = m_ui->treeView->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        m_ui->previewStack->setCurrentIndex(2);
        return;
    }
    const QVariant preview = selected.first().data(SaveDataModel::PreviewRole);
    const int type = preview.userType();
    if (type == QMetaType::QImage || type == QMetaType::QPixmap) {
        m_ui->previewImage->setPixmap(QPixmap::fromImage(preview.value<QImage>()));
        m_ui->previewStack->setCurrentIndex(1);
    } else if (preview.canConvert<QString>()) {
        m_ui->previewText->setText(preview.toString());
        m_ui->previewStack->setCurrentIndex(0);
    } else {
        m_ui->previewStack->setCurrentIndex(2);
    }
}

void SaveDataDisplayWidget::previewDataChanged()
{
    selectionChanged();
}

void SaveDataDisplayWidget::metadataChanged()
{
    m_ui->metadataTextEdit->setText(
        m_model ? m_model->data(QModelIndex(), SaveDataModel::MetadataHtmlRole).toString()
                : QString());
}

int SaveDataDisplayWidget::selectedSector() const
{
    const int count = m_model ? m_model->saveData().sectorCount() : 0;
    if (count == 0)
        return -1;
    const QModelIndexList selected = m_ui->treeView->selectionModel()->selectedIndexes();
    int row = 0;
    if (!selected.isEmpty()) {
        const QModelIndex index = selected.first();
        row = index.parent().isValid() ? index.parent().row() : index.row();
    }
    if (row >= count) {
        qCWarning(logUiGeneral) << "invalid selected row:" << row;
        return -1;
    }
    return row;
}

void SaveDataDisplayWidget::doTreeContextMenu(const QPoint &pos)
{
    const QModelIndex index = m_ui->treeView->indexAt(pos);
    m_rightClicked = index;
    if (m_features == 0 || index.parent().isValid())
        return;

    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (m_features & EditSectorsFeature) {
        menu->addAction(tr("Als aktiv setzen"), this, &SaveDataDisplayWidget::makeSectionCurrent);
        menu->addAction(tr("Messung löschen"), this, &SaveDataDisplayWidget::deleteSection);
        menu->addSeparator();
    }
    if (m_features & AnalyzeFeature) {
        menu->addAction(tr("Daten analysieren ..."), this,
                        &SaveDataDisplayWidget::analyzeSectionData);
        menu->addSeparator();
    }
    menu->addAction(tr("Ordner im Datei-Browser anzeigen ..."), this,
                    &SaveDataDisplayWidget::showSectionInExplorer)
        ->setEnabled(!m_model->saveData().folderPath().isEmpty());
    menu->addAction(tr("Für Bibliothek exportieren ..."), this,
                    &SaveDataDisplayWidget::exportForLibrary);
    menu->addAction(tr("Bericht erzeugen ..."), this,
                    &SaveDataDisplayWidget::generateReportAdvanced);
    menu->popup(m_ui->treeView->viewport()->mapToGlobal(pos));
}

bool SaveDataDisplayWidget::rightClickedSectorValid(const char *warning) const
{
    if (m_rightClicked.isValid() && !m_rightClicked.parent().isValid())
        return true;
    qCWarning(logUiGeneral, "%s", warning);
    return false;
}

void SaveDataDisplayWidget::makeSectionCurrent()
{
    if (rightClickedSectorValid("invalid persistent model index to make current"))
        m_model->setActiveSector(m_rightClicked.row());
}

void SaveDataDisplayWidget::deleteSection()
{
    if (!rightClickedSectorValid("invalid persistent model index to remove"))
        return;
    const int row = m_rightClicked.row();
    if (QMessageBox::question(
            this, tr("Messung löschen"),
            tr("Der Messpunkt und alle enthaltenen Daten gehen verloren. Fortfahren?"),
            QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes)
        m_model->removeSector(row);
    m_model->addSectorIfEmpty();
}

void SaveDataDisplayWidget::analyzeSectionData()
{
    const int row = selectedSector();
    const std::optional<SaveDataSector> sector
        = row < 0 ? std::nullopt : m_model->saveData().sector(row);
    if (!sector)
        return;
    if (!m_workspace.openSession) {
        qCWarning(logUiGeneral) << "no analysis workspace installed";
        return;
    }

    // The session lives until its window closes, while the measurement view goes on working; it
    // dies with this widget at the latest, closing its window.
    AnalysisSession *session = m_workspace.openSession();
    session->setParent(this);
    // The result belongs to this point even when the user selects another one meanwhile; the
    // index dies with the point or with the measurement, which refuses the store.
    const QPersistentModelIndex analysed = m_model->index(row, 0);
    connect(session, &AnalysisSession::saveRequested, this,
            [this, session, analysed] { storeAnalysisResult(session, analysed); });
    connect(session, &AnalysisSession::closed, session, &QObject::deleteLater);
    // Old measurements often kept only the processed spectrum; an empty plot would help nobody.
    const bool raw = !sector->rawSpectrum.isEmpty();
    if (!raw)
        qCInfo(logUiGeneral) << "no unprocessed spectrum in point" << row + 1
                             << ", analysing the processed one";
    session->start(raw ? sector->rawSpectrum : sector->processedSpectrum,
                   m_model->saveData().folderPath(), sector->identificationData.analysis_settings);
}

void SaveDataDisplayWidget::storeAnalysisResult(AnalysisSession *session,
                                                const QPersistentModelIndex &analysed)
{
    const std::optional<SaveDataSector> current = analysed.isValid() && analysed.model() == m_model
                                                      ? m_model->saveData().sector(analysed.row())
                                                      : std::nullopt;
    if (!current) {
        QMessageBox::warning(
            session->window(), tr("Ergebnis nicht gespeichert"),
            tr("Der analysierte Messpunkt ist nicht mehr geladen: er wurde gelöscht, oder eine "
               "andere Messung wurde geöffnet. Das Ergebnis bleibt in diesem Fenster, bis Sie es "
               "schließen."));
        return;
    }
    SaveDataSector sector = *current;
    const AnalysisResult result = session->result();
    IdentificationData &identification = sector.identificationData;
    identification.mineral_suggested_auto = result.suggestedAuto;
    identification.auto_korrelation = result.autoCorrelation;
    identification.mineral_suggested_manual = result.suggestedManual;
    identification.mineral_final_identification = result.finalIdentification;
    identification.auto_confidence = result.autoConfidence;
    identification.auto_group = result.autoGroup;
    identification.auto_group_confidence = result.autoGroupConfidence;
    identification.searchResultImage = result.graph;
    identification.searchResultTableImage = result.table;
    identification.analysis_settings = result.settings;
    m_model->setActiveSector(analysed.row());
    m_model->replaceActiveSector(sector);
    session->close();
}

void SaveDataDisplayWidget::editMetadata()
{
    const SaveDataMetadata metadata = m_model->saveData().metadata();
    SampleDataDialog dialog(this);
    dialog.setData(metadata);
    if (dialog.exec() == QDialog::Accepted)
        m_model->setMetadata(dialog.data(metadata));
}

void SaveDataDisplayWidget::exportForLibrary()
{
    if (!rightClickedSectorValid("invalid persistent model index to export"))
        return;
    const std::optional<SaveDataSector> sector = m_model->saveData().sector(m_rightClicked.row());
    if (!sector)
        return;
    if (!m_workspace.exportForLibrary) {
        qCWarning(logUiGeneral) << "no library export installed";
        return;
    }
    m_workspace.exportForLibrary(sector->processedSpectrum,
                                 sector->identificationData.mineral_final_identification, this);
}

void SaveDataDisplayWidget::showSectionInExplorer()
{
    if (!rightClickedSectorValid("invalid persistent model index to show"))
        return;
    openOnDesktop(m_model->saveData().folderPath()
                      + QStringLiteral("/Location%1").arg(m_rightClicked.row() + 1),
                  this);
}

void SaveDataDisplayWidget::generateReportAdvanced()
{
    if (!rightClickedSectorValid("invalid persistent model index to generate report for"))
        return;
    const int row = m_rightClicked.row();
    upgradeIfRequired();
    GenerateReportDialog dialog(m_model->saveData(), row, this);
    dialog.exec();
}

void SaveDataDisplayWidget::generateReportAdvancedSelected()
{
    const int row = selectedSector();
    if (row < 0) {
        QMessageBox::information(this, tr("Messpunkt auswählen"),
                                 tr("Bitte wählen Sie zuerst einen Messpunkt aus."));
        return;
    }
    upgradeIfRequired();
    GenerateReportDialog dialog(m_model->saveData(), row, this);
    dialog.exec();
}

void SaveDataDisplayWidget::upgradeIfRequired()
{
    const SaveData &data = m_model->saveData();
    if (!data.hasUnsavedChanges() && data.metadata().save_data_version >= CurrentSaveDataVersion)
        return;
    qCInfo(logDataIo)
        << "old save data version or unsaved changes, re-writing data before generating report";
    writeToDisk(true);
}

QMessageBox::StandardButton SaveDataDisplayWidget::querySaveChanges()
{
    // A backup copy is never saved; asking would promise what cannot be done.
    if (!m_model || !m_model->saveData().hasUnsavedChanges() || m_model->isReadOnly())
        return QMessageBox::No;
    return QMessageBox::question(this, tr("Änderungen speichern?"),
                                 tr("Die ausgewählten Speicherdaten wurden geändert. Möchten Sie "
                                    "die Änderungen speichern?"),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

bool SaveDataDisplayWidget::writeChangesToDisk()
{
    return writeToDisk(false);
}

bool SaveDataDisplayWidget::writeToDisk(bool evenIfUnchanged)
{
    if (!m_model)
        return true;
    const QString path = m_model->saveData().folderPath();
    const QString folder = QDir::toNativeSeparators(path);
    const auto save = [&](bool overwriteChanged) {
        const WaitCursor wait;
        return m_model->save(summaryPagesPdf, evenIfUnchanged, overwriteChanged);
    };
    SaveDataModel::SaveOutcome outcome = save(false);
    if (outcome == SaveDataModel::SaveOutcome::ChangedOnDisk) {
        QMessageBox question(QMessageBox::Warning, tr("Auf der Festplatte geändert"),
                             tr("<p>Die Messung in</p><p><tt>%1</tt></p><p>wurde seit dem Laden "
                                "außerhalb dieses Fensters geändert. Mit Ihren Änderungen "
                                "überschreiben?</p><p>„Neu laden“ verwirft Ihre Änderungen und "
                                "zeigt die andere Fassung.</p>")
                                 .arg(folder),
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
        question.button(QMessageBox::Yes)->setText(tr("Überschreiben"));
        question.button(QMessageBox::No)->setText(tr("Neu laden"));
        question.setDefaultButton(QMessageBox::Cancel);
        switch (question.exec()) {
        case QMessageBox::Yes:
            outcome = save(true);
            break;
        case QMessageBox::No:
            emit reloadRequested(path);
            return false;
        default:
            return false;
        }
    }
    switch (outcome) {
    case SaveDataModel::SaveOutcome::NothingChanged:
        emit statusMessage(tr("Keine Änderungen, nichts gespeichert."));
        return true;
    case SaveDataModel::SaveOutcome::Saved:
        emit statusMessage(tr("Gespeichert: %1").arg(folder));
        return true;
    case SaveDataModel::SaveOutcome::ReadOnly:
        QMessageBox::information(this, tr("Backup-Kopie"),
                                 tr("<p>Die Messung in</p><p><tt>%1</tt></p><p>ist eine "
                                    "Backup-Kopie und wird nicht überschrieben.</p>")
                                     .arg(folder));
        return false;
    default:
        QMessageBox::warning(this, tr("Fehler beim Speichern"),
                             tr("Die Änderungen konnten nicht gespeichert werden; die Messung "
                                "ist unverändert.\n\n%1")
                                 .arg(m_model->saveData().lastSaveError()));
        return false;
    }
}

void SaveDataDisplayWidget::deleteLoadedDataFromDisk()
{
    const SaveData &data = m_model->saveData();
    if (data.folderPath().isEmpty())
        return;
    if (QMessageBox::question(this, tr("Daten löschen"),
                              tr("<p>Alle Daten in</p><p><tt>%1</tt></p><p>wirklich löschen?</p>")
                                  .arg(QDir::toNativeSeparators(data.folderPath())),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const WaitCursor wait;
    data.removeFromDisk();
}
