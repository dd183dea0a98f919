#pragma once

#include <QMainWindow>

class LibraryLoader;

#include <memory>
#include <optional>

namespace Ui {
class BrowserMainWindow;
}
class SaveData;
class SaveDataModel;
class SpectrumAnalysisWindow;

// The program's main window: the list of measurements below the source directory on the left,
// the selected measurement on the right, and the actions on both.
class BrowserMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static const QString activeDirectoryKey;

    explicit BrowserMainWindow(QWidget *parent = nullptr);
    ~BrowserMainWindow() override;

    // Opens the analysis window for a spectrum file outside any measurement: exports, no store.
    // Null (after a message) when the file cannot be read.
    SpectrumAnalysisWindow *analyseSpectrumFile(const QString &path);
    // A measurement asked for is still being read, or waits for the question about changes.
    bool isLoading() const { return m_switchQueued || m_loading; }

signals:
    // The newest measurement asked for is shown, or its failure was told (then `folder` is empty).
    void measurementShown(const QString &folder);

protected:
    // Asks about unsaved changes as switching measurements does.
    void closeEvent(QCloseEvent *event) override;

private:
    void requestMeasurement(const QString &path);
    void switchToRequested();
    void showLoaded(const QString &path, const std::optional<SaveData> &loaded);
    void setLoading(bool loading);
    // Asks whether to save changes of the shown measurement and saves them; false to stay.
    bool settleUnsavedChanges();
    // For a new language: a fresh process, once the changes are settled.
    void restartProgram();
    void selectSourceDirectory();
    void showAwaitedSource(int first, int last);
    void chooseSpectrumFile();
    void reload();
    void save();
    void deleteEntry();
    void browseBackups();
    void removeAllBackups();
    void manageLibraries();
    void editSettings();
    void showProgress(int done, int totalApprox);
    void reloadShownRow();
    void updateWindowTitle();

    std::unique_ptr<Ui::BrowserMainWindow> m_ui;
    // Shared by every analysis of a measurement or a file.
    std::shared_ptr<LibraryLoader> m_library;
    SaveDataModel *m_model = nullptr;
    QString m_requestedPath;
    // The unique identifier of a backup copy whose source version is to be shown once listed.
    QString m_awaitedSource;
    bool m_switchQueued = false;
    bool m_loading = false;
    int m_loadGeneration = 0;
};
