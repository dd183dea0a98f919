#pragma once

#include <QMainWindow>

#include <memory>

namespace Ui {
class BrowserMainWindow;
}
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

private:
    void showMeasurement(const QString &path);
    void selectSourceDirectory();
    void chooseSpectrumFile();
    void reload();
    void save();
    void deleteEntry();
    void browseBackups();
    void removeAllBackups();
    void showProgress(int done, int totalApprox);
    void reloadShownRow();
    void updateWindowTitle();

    std::unique_ptr<Ui::BrowserMainWindow> m_ui;
    SaveDataModel *m_model = nullptr;
    int m_loadGeneration = 0;
};
