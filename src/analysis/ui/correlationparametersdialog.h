#pragma once

#include "library/matching/fingerprint.h"

#include <QDialog>

#include <memory>

namespace Ui {
class CorrelationParametersDialog;
}

// Edits the tuning values of the fingerprint search; they live as long as the dialog.
class CorrelationParametersDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CorrelationParametersDialog(QWidget *parent = nullptr);
    ~CorrelationParametersDialog() override;

    // The values of the spin boxes; widths scale with the peak-width slider's value (-1: as shown).
    FingerprintParameters parameters(int sliderValue) const;
    static double widthScale(int sliderValue);

public slots:
    void resetToDefaults();

signals:
    void parametersChanged();

private:
    void setValues(const FingerprintParameters &p);

    std::unique_ptr<Ui::CorrelationParametersDialog> m_ui;
};
