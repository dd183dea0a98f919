#include "ui/analysiswindowsession.h"

#include "analysis/ui/exportforlibrarydialog.h"
#include "analysis/ui/spectrumanalysiswindow.h"
#include "analysis/ui/spectrumprocessingwidget.h"

#include <QPointer>

namespace {

class AnalysisWindowSession : public AnalysisSession
{
public:
    ~AnalysisWindowSession() override
    {
        if (m_window)
            m_window->close();
    }

    void start(const std::shared_ptr<LibraryLoader> &library,
               const RamanData<Wavenumbers> &spectrum, const QString &folder) override
    {
        m_window = new SpectrumAnalysisWindow(library, spectrum);
        m_window->analysisWidget()->setDataFolder(folder);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_window, &SpectrumAnalysisWindow::saveRequested, this,
                &AnalysisSession::saveRequested);
        connect(m_window, &SpectrumAnalysisWindow::dialogClosed, this, &AnalysisSession::closed);
        m_window->show();
    }
    AnalysisResult result() const override
    {
        AnalysisResult r;
        if (!m_window)
            return r;
        r.suggestedAuto = m_window->suggestedAuto();
        r.autoCorrelation = m_window->autoCorrelation();
        r.suggestedManual = m_window->suggestedManual();
        r.finalIdentification = m_window->finalIdentification();
        r.graph = m_window->graphImage();
        r.table = m_window->tableImage();
        return r;
    }
    QWidget *window() const override { return m_window; }
    void close() override
    {
        if (m_window)
            m_window->close();
    }

private:
    QPointer<SpectrumAnalysisWindow> m_window;
};

} // namespace

AnalysisWorkspace analysisWindowWorkspace()
{
    AnalysisWorkspace workspace;
    workspace.openSession = [] { return new AnalysisWindowSession; };
    workspace.exportForLibrary = exportSpectrumForLibrary;
    return workspace;
}
