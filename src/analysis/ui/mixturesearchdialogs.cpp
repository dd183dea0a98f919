#include "analysis/ui/mixturesearchdialogs.h"

#include "analysis/ui/lcanalysisprogressdialog.h"
#include "library/referencelibrary.h"

#include <QFutureWatcher>

#include <cmath>

LCAnalysisProgressDialog *
MixtureSearchDialogs::showPairSearch(const std::shared_ptr<const ReferenceLibrary> &library,
                                     const QFuture<QVector<LinearCombinationResult>> &search,
                                     QWidget *parent)
{
    auto *dialog = new LCAnalysisProgressDialog(parent);
    dialog->watchSearch(search, library->infos());
    dialog->show();
    return dialog;
}

LCAnalysisProgressDialog *
MixtureSearchDialogs::showMixtureFit(const std::shared_ptr<const ReferenceLibrary> &library,
                                     const QFuture<QVector<MixtureFit>> &fit, QWidget *parent)
{
    auto *dialog = new LCAnalysisProgressDialog(parent);
    dialog->showBusy(tr("Gemisch-Anpassung"),
                     tr("Das Spektrum wird als Summe von zwei oder drei Referenzspektren und "
                        "einem glatten Untergrund angepasst."));
    auto *watcher = new QFutureWatcher<QVector<MixtureFit>>(dialog);
    QObject::connect(watcher, &QFutureWatcherBase::finished, dialog, [dialog, watcher, library] {
        QVector<QPair<QString, QStringList>> choices;
        for (const MixtureFit &fit : watcher->result()) {
            QStringList parts;
            QStringList numbers;
            for (const MixtureComponent &component : fit.components) {
                parts.append(tr("%1 %2 %")
                                 .arg(component.name)
                                 .arg(QString::number(100.0 * component.fraction, 'f', 0)));
                numbers.append(library->info(component.spectrum).number);
            }
            choices.append({tr("%1 (Rest %2 %)")
                                .arg(parts.join(QStringLiteral(" + ")),
                                     QString::number(100.0 * fit.residual, 'f', 1)),
                            numbers});
        }
        dialog->showChoices(
            choices.isEmpty()
                ? tr("Kein Gemisch passt: das Spektrum ist leer, flach oder zu kurz, "
                     "oder keine Referenz deckt seinen Bereich ab.")
                : tr("Diese Gemische passen zum geladenen Spektrum, mit dem Anteil jedes "
                     "Minerals und dem Rest, den die Anpassung nicht erklärt "
                     "(doppelklicken zum Ansehen):"),
            choices);
    });
    watcher->setFuture(fit);
    dialog->show();
    return dialog;
}
