#include "analysis/ui/spectrumanalysiswindow.h"

#include "analysis/ui/spectrumprocessingwidget.h"
#include "widgets/geometryrestore.h"

#include "ui_spectrumanalysiswindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QToolButton>

SpectrumAnalysisWindow::SpectrumAnalysisWindow(std::shared_ptr<const ReferenceLibrary> library,
                                               const RamanData<Wavenumbers> &spectrum,
                                               QWidget *parent, const QJsonObject &storedSettings)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::DialogSearchLib>())
{
    m_geometry = new GeometryRestore(this, QStringLiteral("DialogSearchLibMain"));
    setWindowFlag(Qt::Window);
    m_ui->setupUi(this);
    // The form's size is a default for large screens; a remembered size wins over both.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(size().boundedTo(screen->availableSize()));
    SpectrumProcessingWidget *widget = m_ui->widget;
    connect(widget, &SpectrumProcessingWidget::saveRequested, this,
            &SpectrumAnalysisWindow::saveRequested);
    connect(widget, &SpectrumProcessingWidget::resultChanged, this,
            &SpectrumAnalysisWindow::selectedResultChanged);

    const auto action
        = [widget](const char *name) { return widget->findChild<QAction *>(QLatin1String(name)); };
    m_ui->toolBar->addAction(action("actionClearSelected"));
    m_ui->toolBar->addSeparator();
    m_ui->toolBar->addAction(action("actionResetZoom"));
    m_ui->toolBar->addAction(action("actionAutoYZoom"));
    auto *extras = new QToolButton(m_ui->toolBar);
    extras->setObjectName(QStringLiteral("toolButtonExtras"));
    extras->setText(tr("Extras ..."));
    extras->setIcon(QIcon(QStringLiteral(":/icons/mode-preview.png")));
    extras->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    extras->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(extras);
    menu->addAction(action("actionShowScatter"));
    menu->addAction(action("actionStartLCSearch"));
    menu->addAction(action("actionStartMixtureFit"));
    extras->setMenu(menu);
    m_ui->toolBar->addWidget(extras);
    m_ui->toolBar->addSeparator();

    widget->setLibrary(std::move(library));
    widget->setSpectrum(spectrum);
    widget->applySettings(startingAnalysisSettings(storedSettings));
}

SpectrumAnalysisWindow::~SpectrumAnalysisWindow() = default;

SpectrumProcessingWidget *SpectrumAnalysisWindow::analysisWidget() const
{
    return m_ui->widget;
}

QString SpectrumAnalysisWindow::suggestedAuto() const
{
    return m_ui->widget->analysis()->bestName();
}

double SpectrumAnalysisWindow::autoCorrelation() const
{
    return m_ui->widget->analysis()->bestScore();
}

QString SpectrumAnalysisWindow::suggestedManual() const
{
    return m_ui->widget->analysis()->selectedName();
}

QString SpectrumAnalysisWindow::finalIdentification() const
{
    return m_ui->widget->resultText();
}

QString SpectrumAnalysisWindow::autoConfidence() const
{
    const AnalysisOutcome &outcome = m_ui->widget->analysis()->outcome();
    if (outcome.minerals.minerals.isEmpty())
        return QString();
    return QLatin1String(MineralSearch::confidenceKeyword(outcome.minerals.confidence));
}

QString SpectrumAnalysisWindow::autoGroup() const
{
    const GroupAnswer &group = m_ui->widget->analysis()->outcome().group;
    return group.group.isEmpty() ? QString() : group.text();
}

QString SpectrumAnalysisWindow::autoGroupConfidence() const
{
    const GroupAnswer &group = m_ui->widget->analysis()->outcome().group;
    return group.group.isEmpty()
               ? QString()
               : QLatin1String(MineralSearch::confidenceKeyword(group.confidence));
}

QImage SpectrumAnalysisWindow::graphImage() const
{
    return m_ui->widget->renderPlotImage();
}

QImage SpectrumAnalysisWindow::tableImage() const
{
    return m_ui->widget->renderTableImage();
}

QJsonObject SpectrumAnalysisWindow::settingsToStore() const
{
    return analysisSettingsToJson(m_ui->widget->settings());
}

void SpectrumAnalysisWindow::closeEvent(QCloseEvent *event)
{
    emit dialogClosed();
    QMainWindow::closeEvent(event);
}
