#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QVector>

#include <memory>

class MineralSortFilterProxyModel;
class NewMineralPicDialog;
class RamanLibraryModel;
class ReferenceLibrary;
class SpectrumAnalysis;
class QPoint;
class QWidget;

namespace Ui {
class SpectrumAnalysisWidget;
}

// The library result table of the analysis: its model with the search's scores, the name and
// element filter, the row count, the selection of references, and the context menu with web pages
// and mineral pictures.
class ResultPanel : public QObject
{
    Q_OBJECT

public:
    // `ui` and `analysis` are not owned; `parent` carries the dialogs the menu opens.
    ResultPanel(Ui::SpectrumAnalysisWidget *ui, SpectrumAnalysis *analysis, QWidget *parent);
    ~ResultPanel() override;

    // `loading`: another library is on its way, so an empty one is no missing one.
    void setLibrary(std::shared_ptr<const ReferenceLibrary> library, bool loading);
    // Shows the scores and the confidence of the analysis's last search.
    void showScores();
    // Library rows of the selected table rows, in table order.
    QVector<int> selectedSourceRows() const;
    // The mineral name of the first selected row; empty when none is selected.
    QString selectedName() const;
    // Band positions of each mineral the table lists, once per name, for the line histogram.
    QVector<QVector<double>> listedMineralLines() const;
    void selectFirstRow();
    void selectNumbers(const QStringList &numbers);
    QImage renderImage() const;

signals:
    void selectionChanged();
    void filterChanged();
    // The table shows another library (its rows mean other spectra).
    void libraryRowsChanged();
    // The user asked to analyse this library spectrum instead of the sample.
    void analyseRequested(int libraryRow);
    // The user asked to set up libraries, from the hint over an empty table.
    void manageLibrariesRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyFilter();
    void updateSort();
    void updateRowCount();
    void showContextMenu(const QPoint &pos);
    void showNoLibraryHint(bool show);
    void keepFormulaInView();
    void openWebPage(int sourceRow, int site);

    Ui::SpectrumAnalysisWidget *m_ui;
    SpectrumAnalysis *m_analysis;
    QWidget *m_parent;
    std::shared_ptr<const ReferenceLibrary> m_library;
    RamanLibraryModel *m_model = nullptr;
    MineralSortFilterProxyModel *m_proxy = nullptr;
    QPointer<NewMineralPicDialog> m_newPicDialog;
    QPointer<QWidget> m_noLibraryHint; // over the table while no library is set up
};
