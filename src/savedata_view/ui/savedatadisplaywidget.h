#pragma once

#include "savedata_view/ui/analysisworkspace.h"

#include <QMessageBox>
#include <QPersistentModelIndex>
#include <QWidget>

#include <memory>

namespace Ui {
class SaveDataDisplayWidget;
}
class SaveDataModel;

// The shown measurement: its tree of measuring points, the sample data, a preview of the selected
// item, and everything the user does to it (analyse, edit, save, delete, report).
class SaveDataDisplayWidget : public QWidget
{
    Q_OBJECT

public:
    enum Feature : unsigned {
        AnalyzeFeature = 1,
        EditSectorsFeature = 2,
        EditMetadataFeature = 8,
    };

    explicit SaveDataDisplayWidget(QWidget *parent = nullptr);
    ~SaveDataDisplayWidget() override;

    void setModel(SaveDataModel *model);
    SaveDataModel *model() const { return m_model; }
    void setFeatures(unsigned mask);
    void setAnalysisWorkspace(const AnalysisWorkspace &workspace) { m_workspace = workspace; }
    // The library every analysis shares (not owned); its first load starts with the first
    // analysis.
    // The measuring point an action without a right-click works on; -1 when there is none.
    int selectedSector() const;

public slots:
    // False when the changes are not on disk: the save failed or was refused (the user was told)
    // or cancelled. Nothing changed is no failure.
    bool writeChangesToDisk();
    void deleteLoadedDataFromDisk();
    void generateReportAdvancedSelected();
    QMessageBox::StandardButton querySaveChanges();

signals:
    // A short note for the status bar: saved, or nothing to save.
    void statusMessage(const QString &message);
    // The user chose to see the version on disk instead of the changes shown.
    void reloadRequested(const QString &folder);

private slots:
    void selectionChanged();
    void previewDataChanged();
    void metadataChanged();
    void doTreeContextMenu(const QPoint &pos);
    void makeSectionCurrent();
    void deleteSection();
    void analyzeSectionData();
    void editMetadata();
    void exportForLibrary();
    void showSectionInExplorer();
    void generateReportAdvanced();
    void upgradeIfRequired();

private:
    bool rightClickedSectorValid(const char *warning) const;
    bool writeToDisk(bool evenIfUnchanged);
    void storeAnalysisResult(AnalysisSession *session, const QPersistentModelIndex &analysed);
    void rememberSelectedItem();
    void restoreSelectedItem();

    std::unique_ptr<Ui::SaveDataDisplayWidget> m_ui;
    SaveDataModel *m_model = nullptr;
    QPersistentModelIndex m_rightClicked;
    AnalysisWorkspace m_workspace;
    unsigned m_features = 0;
    int m_rememberedItemRow = 0;
};
