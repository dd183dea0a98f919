#pragma once

#include "library/combinationsearch.h"
#include "library/identify/mixturefit.h"
#include "library/matching/peaksearch.h"

#include <QCoreApplication>
#include <QFuture>

#include <memory>

class LCAnalysisProgressDialog;
class ReferenceLibrary;
class QWidget;

// The searches for a mixture of library spectra, each shown in a progress dialog that lists the
// mixtures found; a double-clicked one names its spectra with idsSelected().
class MixtureSearchDialogs
{
    Q_DECLARE_TR_FUNCTIONS(MixtureSearchDialogs)

public:
    // Follows the two-mineral search `search` of `library`.
    static LCAnalysisProgressDialog *
    showPairSearch(const std::shared_ptr<const ReferenceLibrary> &library,
                   const QFuture<QVector<LinearCombinationResult>> &search, QWidget *parent);
    // The fit of two or three library spectra and a smooth background that `fit` computes.
    static LCAnalysisProgressDialog *
    showMixtureFit(const std::shared_ptr<const ReferenceLibrary> &library,
                   const QFuture<QVector<MixtureFit>> &fit, QWidget *parent);
};
