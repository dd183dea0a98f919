#pragma once

#include "browse/savedatabrowsefiltermodel.h"

#include <QWidget>

#include <memory>

namespace Ui {
class SaveDataBrowseWidget;
}
class QItemSelection;
class SaveDataBrowseModel;
class SelectTableColumnsDialog;

// The filter form and the table of all measurements below the source directory.
class SaveDataBrowseWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ResizeSampleRows = 250;

    explicit SaveDataBrowseWidget(QWidget *parent = nullptr);
    ~SaveDataBrowseWidget() override;

    QString directory() const;
    // The browse model row of the first selected table row, -1 when none is selected.
    int selectedRow() const;
    SaveDataBrowseModel *model() const { return m_model; }
    SaveDataBrowseFilterModel *filterModel() const { return m_filterModel; }
    // Unselects the list's row without announcing anything.
    void clearSelection();
    // Selects the row of `folder`, which announces it; false when the table does not show it.
    bool selectFolder(const QString &folder);

public slots:
    // Asks for a directory starting at `suggested` and scans it; returns it, or empty.
    QString querySelectSourceDirectory(const QString &suggested);
    void selectSourceDirectory(const QString &directory);
    void updateColumnsShown();

signals:
    void directorySelected(const QString &dir);
    void filterChanged(const SaveDataBrowseFilterModel::Filter &newFilter);

private:
    void announceSelection(const QItemSelection &selected);
    void beginRowChange();
    void endRowChange();
    QString selectedFolder() const;
    void chooseColumns();
    void publishFilter();
    void setUpTableView();

    SaveDataBrowseFilterModel *m_filterModel = nullptr;
    SaveDataBrowseModel *m_model = nullptr;
    SelectTableColumnsDialog *m_columnsDialog = nullptr;
    std::unique_ptr<Ui::SaveDataBrowseWidget> m_ui;
    int m_rowChangeDepth = 0;
    QString m_selectedBeforeRowChange;
};
