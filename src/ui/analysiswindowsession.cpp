#include "ui/analysiswindowsession.h"

#include "analysis/ui/exportforlibrarydialog.h"
#include "analysis/ui/spectrumanalysiswindow.h"
#include "analysis/ui/spectrumprocessingwidget.h"
#include "library/libraryloader.h"
#include "library/ui/librarymanagementdialog.h"

#include <QPointer>

namespace {

class AnalysisWindowSession : public AnalysisSession
{
public:
    explicit AnalysisWindowSession(std::shared_ptr<LibraryLoader> library)
        : m_library(std::move(library))
    {}
    ~AnalysisWindowSession() override
    {
        if (m_window)
            m_window->close();
    }

    void start(const RamanData<Wavenumbers> &spectrum, const QString &folder,
               const QJsonObject &settings) override
    {
        m_window = new SpectrumAnalysisWindow(m_library->library(), spectrum, nullptr, settings);
        followLibrary(m_window, m_library);
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
        r.autoConfidence = m_window->autoConfidence();
        r.autoGroup = m_window->autoGroup();
        r.autoGroupConfidence = m_window->autoGroupConfidence();
        r.graph = m_window->graphImage();
        r.table = m_window->tableImage();
        r.settings = m_window->settingsToStore();
        return r;
    }
    QWidget *window() const override { return m_window; }
    void close() override
    {
        if (m_window)
            m_window->close();
    }

private:
    std::shared_ptr<LibraryLoader> m_library;
    QPointer<SpectrumAnalysisWindow> m_window;
};

} // namespace

void followLibrary(SpectrumAnalysisWindow *window, const std::shared_ptr<LibraryLoader> &library)
{
    library->startFirstLoad();
    SpectrumProcessingWidget *widget = window->analysisWidget();
    const auto show = [widget, loader = library.get()] {
        widget->setLibrary(loader->library(), loader->isLoading());
    };
    QObject::connect(library.get(), &LibraryLoader::libraryChanged, widget, show);
    // A window opened during the first load would otherwise say that no library is set up.
    show();
    QObject::connect(widget, &SpectrumProcessingWidget::manageLibrariesRequested, widget,
                     [widget, library] {
                         LibraryManagementDialog dialog(library, widget);
                         dialog.exec();
                     });
    show();
}

AnalysisWorkspace analysisWindowWorkspace(std::shared_ptr<LibraryLoader> library)
{
    AnalysisWorkspace workspace;
    workspace.openSession = [library] { return new AnalysisWindowSession(library); };
    workspace.exportForLibrary = exportSpectrumForLibrary;
    return workspace;
}
