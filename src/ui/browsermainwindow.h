#pragma once

#include <QMainWindow>

#include <memory>

namespace Ui {
class BrowserMainWindow;
}

// The program's main window: the list of measurements below the source directory on the left;
// the measurement view joins it on the right.
class BrowserMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static const QString activeDirectoryKey;

    explicit BrowserMainWindow(QWidget *parent = nullptr);
    ~BrowserMainWindow() override;

private:
    void showProgress(int done, int totalApprox);
    void updateWindowTitle();

    std::unique_ptr<Ui::BrowserMainWindow> m_ui;
};
