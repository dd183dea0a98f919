#include "analysis/ui/correlationparametersdialog.h"

#include "ui_correlationparametersdialog.h"

#include "library/matching/peakwidth.h"

#include <QDoubleSpinBox>
#include <QPushButton>

CorrelationParametersDialog::CorrelationParametersDialog(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::CorrelationParametersDialog>())
{
    m_ui->setupUi(this);
    setValues(FingerprintParameters());
    for (QDoubleSpinBox *box : findChildren<QDoubleSpinBox *>()) {
        connect(box, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
                &CorrelationParametersDialog::parametersChanged);
    }
    connect(m_ui->buttonReset, &QPushButton::clicked, this,
            &CorrelationParametersDialog::resetToDefaults);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

CorrelationParametersDialog::~CorrelationParametersDialog() = default;

double CorrelationParametersDialog::widthScale(int sliderValue)
{
    return fingerprintWidthScale(sliderValue);
}

FingerprintParameters CorrelationParametersDialog::parameters(int sliderValue) const
{
    FingerprintParameters p;
    p.peakNoiseFactor = m_ui->sBoxPeakNoiseFactor->value();
    p.significantNoiseFactor = m_ui->sBoxSignificantNoiseFactor->value();
    p.checkWidth = m_ui->sBoxCheckWidth->value();
    p.halfFitSize = m_ui->sBoxHalfFitSize->value();
    p.mustDropTo = m_ui->sBoxMustDropTo->value();
    p.clearWhenDropsTo = m_ui->sBoxClearWhenDropsTo->value();
    p.clearExtraScore = m_ui->sBoxClearExtraScore->value();
    p.minHeight = m_ui->sBoxMinHeight->value();
    p.maxWidth = m_ui->sBoxMaxWidth->value();
    p.maxWavenumDiff = m_ui->sBoxMaxWavenumDiff->value();
    p.clearUnmatchedPenalty = m_ui->sBoxClearUnmatchedPenalty->value();
    p.unrecognizableNoiseFactor = m_ui->sBoxUnrecognizableNoisFac->value();
    p.uncertaintyWavenumDiff = m_ui->sBoxUncertainityWavenumDiff->value();
    p.uncertaintyWidth = m_ui->sBoxUncertainityWidth->value();
    p.uncertaintyEnergy = m_ui->sBoxUncertainityEnergy->value();
    return scaledForPeakWidth(p, widthScale(sliderValue));
}

void CorrelationParametersDialog::resetToDefaults()
{
    setValues(FingerprintParameters());
}

void CorrelationParametersDialog::setValues(const FingerprintParameters &p)
{
    m_ui->sBoxPeakNoiseFactor->setValue(p.peakNoiseFactor);
    m_ui->sBoxSignificantNoiseFactor->setValue(p.significantNoiseFactor);
    m_ui->sBoxCheckWidth->setValue(p.checkWidth);
    m_ui->sBoxHalfFitSize->setValue(p.halfFitSize);
    m_ui->sBoxMustDropTo->setValue(p.mustDropTo);
    m_ui->sBoxClearWhenDropsTo->setValue(p.clearWhenDropsTo);
    m_ui->sBoxClearExtraScore->setValue(p.clearExtraScore);
    m_ui->sBoxMinHeight->setValue(p.minHeight);
    m_ui->sBoxMaxWidth->setValue(p.maxWidth);
    m_ui->sBoxMaxWavenumDiff->setValue(p.maxWavenumDiff);
    m_ui->sBoxClearUnmatchedPenalty->setValue(p.clearUnmatchedPenalty);
    m_ui->sBoxUnrecognizableNoisFac->setValue(p.unrecognizableNoiseFactor);
    m_ui->sBoxUncertainityWavenumDiff->setValue(p.uncertaintyWavenumDiff);
    m_ui->sBoxUncertainityWidth->setValue(p.uncertaintyWidth);
    m_ui->sBoxUncertainityEnergy->setValue(p.uncertaintyEnergy);
}
