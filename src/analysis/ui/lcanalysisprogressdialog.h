#pragma once

#include "library/combinationsearch.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QStringList>

#include <memory>

class QListWidgetItem;

namespace Ui {
class DialogLCAnalysisProgress;
}

// Shows the progress of a two-mineral search and then its best distinct pairs. Deletes itself
// when closed; closing or cancelling it cancels the search.
class LCAnalysisProgressDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LCAnalysisProgressDialog(QWidget *parent = nullptr);
    ~LCAnalysisProgressDialog() override;

    // Follows a running search over the library of `spectra` until it finishes.
    void watchSearch(const QFuture<QVector<LinearCombinationResult>> &search,
                     const QVector<rruff_infos> &spectra);

    // "Fertig: 120 k von 580 k (0 m 3 s übrig)", from the future's progress value and maximum.
    static QString progressText(int value, int maximum, int librarySize, qint64 elapsedMs);

    // For a search that reports no steps (the mixture fit): a busy bar under `explanation`; its
    // outcome comes through showChoices.
    void showBusy(const QString &title, const QString &explanation);

public slots:
    void setProgress(int value, const QString &detail);
    // Lists (text, spectrum numbers) under `heading`; activating one emits idsSelected.
    void showChoices(const QString &heading, const QVector<QPair<QString, QStringList>> &choices);
    // Lists the pairs; `spectra` are the library's that they name.
    void showResults(const QVector<LinearCombinationResult> &results,
                     const QVector<rruff_infos> &spectra);

signals:
    // The spectrum numbers of the pair the user picked.
    void idsSelected(const QStringList &ids);

private:
    void onProgressValueChanged(int value);
    void onSearchFinished();
    void onItemActivated(QListWidgetItem *item);

    std::unique_ptr<Ui::DialogLCAnalysisProgress> m_ui;
    QFutureWatcher<QVector<LinearCombinationResult>> m_watcher;
    QElapsedTimer m_elapsed;
    QVector<rruff_infos> m_spectra; // of the library searched
};
