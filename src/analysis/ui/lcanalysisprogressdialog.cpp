#include "analysis/ui/lcanalysisprogressdialog.h"

#include "ui_lcanalysisprogressdialog.h"

#include "core/logging.h"

#include <QListWidgetItem>

LCAnalysisProgressDialog::LCAnalysisProgressDialog(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::DialogLCAnalysisProgress>())
{
    m_elapsed.start();
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    m_ui->stackedWidget->setCurrentWidget(m_ui->pageProgress);
    connect(m_ui->buttonBoxProgress, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_ui->buttonBoxResults, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_ui->listWidgetResults, &QListWidget::itemActivated, this,
            &LCAnalysisProgressDialog::onItemActivated);
}

LCAnalysisProgressDialog::~LCAnalysisProgressDialog()
{
    // Nobody would look at the results any more.
    m_watcher.cancel();
}

void LCAnalysisProgressDialog::watchSearch(const QFuture<QVector<LinearCombinationResult>> &search,
                                           const QVector<rruff_infos> &spectra)
{
    m_spectra = spectra;
    connect(&m_watcher, &QFutureWatcherBase::progressRangeChanged, m_ui->progressBar,
            &QProgressBar::setRange);
    connect(&m_watcher, &QFutureWatcherBase::progressValueChanged, this,
            &LCAnalysisProgressDialog::onProgressValueChanged);
    connect(&m_watcher, &QFutureWatcherBase::finished, this,
            &LCAnalysisProgressDialog::onSearchFinished);
    connect(this, &QDialog::rejected, &m_watcher, &QFutureWatcherBase::cancel);
    m_watcher.setFuture(search);
}

QString LCAnalysisProgressDialog::progressText(int value, int maximum, int librarySize,
                                               qint64 elapsedMs)
{
    const CombinationProgress p = combinationProgress(value, maximum, librarySize, elapsedMs);
    return tr("Fertig: %1 k von %2 k (%3 m %4 s übrig)")
        .arg(p.done / 1000)
        .arg(p.total / 1000)
        .arg(p.remainingSeconds / 60)
        .arg(p.remainingSeconds % 60);
}

void LCAnalysisProgressDialog::setProgress(int value, const QString &detail)
{
    m_ui->progressBar->setValue(value);
    m_ui->labelDetailProgress->setText(detail);
}

void LCAnalysisProgressDialog::onProgressValueChanged(int value)
{
    setProgress(value, progressText(value, m_watcher.progressMaximum(), m_spectra.size(),
                                    m_elapsed.elapsed()));
}

void LCAnalysisProgressDialog::onSearchFinished()
{
    if (m_watcher.isCanceled() || m_watcher.future().resultCount() == 0)
        return;
    showResults(m_watcher.result(), m_spectra);
}

void LCAnalysisProgressDialog::showResults(const QVector<LinearCombinationResult> &results,
                                           const QVector<rruff_infos> &spectra)
{
    m_ui->stackedWidget->setCurrentWidget(m_ui->pageResults);
    m_ui->listWidgetResults->clear();
    for (const LinearCombinationResult &result : distinctPairs(results, spectra)) {
        const rruff_infos &a = spectra.at(result.first);
        const rruff_infos &b = spectra.at(result.second);
        QStringList ids{a.number, b.number};
        ids.sort();
        QString first = a.name;
        QString second = b.name;
        if (first > second)
            std::swap(first, second);
        auto *item
            = new QListWidgetItem(QStringLiteral("%1 + %2 (%3)")
                                      .arg(first, second, QString::number(result.score, 'g', 3)),
                                  m_ui->listWidgetResults);
        item->setData(Qt::UserRole, ids);
    }
}

void LCAnalysisProgressDialog::showBusy(const QString &title, const QString &explanation)
{
    setWindowTitle(title);
    m_ui->labelExplanation->setText(explanation);
    m_ui->labelDone->hide();
    m_ui->labelDetailProgress->hide();
    m_ui->progressBar->setRange(0, 0);
}

void LCAnalysisProgressDialog::showChoices(const QString &heading,
                                           const QVector<QPair<QString, QStringList>> &choices)
{
    m_ui->stackedWidget->setCurrentWidget(m_ui->pageResults);
    m_ui->labelResults->setText(heading);
    m_ui->listWidgetResults->clear();
    for (const auto &[text, ids] : choices) {
        auto *item = new QListWidgetItem(text, m_ui->listWidgetResults);
        item->setData(Qt::UserRole, ids);
    }
}

void LCAnalysisProgressDialog::onItemActivated(QListWidgetItem *item)
{
    emit idsSelected(item->data(Qt::UserRole).toStringList());
}
