#include "ui/browsermainwindow.h"

#include "app/language.h"

#include "ui_browsermainwindow.h"

BrowserMainWindow::BrowserMainWindow(QWidget *parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::BrowserMainWindow>())
{
    m_ui->setupUi(this);
    fillLanguageMenu(m_ui->menuLanguage);
    connect(m_ui->actionQuit, &QAction::triggered, this, &QWidget::close);
}

BrowserMainWindow::~BrowserMainWindow() = default;
