#pragma once

#include <QMainWindow>

#include <memory>

namespace Ui {
class BrowserMainWindow;
}

// The program's main window. For now it carries the menus; the measurement list and the
// measurement view join it as they are built.
class BrowserMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit BrowserMainWindow(QWidget *parent = nullptr);
    ~BrowserMainWindow() override;

private:
    std::unique_ptr<Ui::BrowserMainWindow> m_ui;
};
