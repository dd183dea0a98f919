#pragma once

#include "spectrum/ramandata.h"

#include <QImage>
#include <QJsonObject>
#include <QMainWindow>

#include <memory>

class GeometryRestore;
class ReferenceLibrary;
class SpectrumProcessingWidget;

namespace Ui {
class DialogSearchLib;
}

// The top-level window in which one measuring point's spectrum is re-analysed. It never closes
// itself on saveRequested(): the caller stores the result and then closes it.
class SpectrumAnalysisWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Set up as `storedSettings` say, the settings stored with an analysed point; without them as
    // the user's last analysis.
    SpectrumAnalysisWindow(std::shared_ptr<const ReferenceLibrary> library,
                           const RamanData<Wavenumbers> &spectrum, QWidget *parent = nullptr,
                           const QJsonObject &storedSettings = QJsonObject());
    ~SpectrumAnalysisWindow() override;

    SpectrumProcessingWidget *analysisWidget() const;

    // The identification as it stands, for storing into the measuring point.
    QString suggestedAuto() const;   // best-scoring reference of the last search
    double autoCorrelation() const;  // its score, 0 when there is none
    QString suggestedManual() const; // first selected row of the result table
    QString finalIdentification() const;
    // After a mineral search: the answer's confidence ("confident", "likely", "uncertain"), its
    // answer at group level ("Garnet: Almandine / Pyrope") and that one's confidence; else empty.
    QString autoConfidence() const;
    QString autoGroup() const;
    QString autoGroupConfidence() const;
    QImage graphImage() const; // the main plot with its lines (2048 x 1152)
    QImage tableImage() const; // the result table as shown
    QJsonObject settingsToStore() const;

signals:
    void dialogClosed();
    void saveRequested();
    void selectedResultChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<Ui::DialogSearchLib> m_ui;
    GeometryRestore *m_geometry = nullptr;
};
