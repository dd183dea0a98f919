#pragma once

#include "settings/programsettings.h"

#include <QDialog>
#include <QFutureWatcher>

#include <memory>

class QLineEdit;

namespace Ui {
class SettingsDialog;
}

// Edits the program's settings; OK checks them first (off the GUI thread, the TeX compiler is
// run) and stays open, naming what is wrong, until they can be used.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(QWidget *parent = nullptr);
    ~SettingsDialog() override;

    ProgramSettings edited() const;
    void accept() override;

signals:
    void manageLibrariesRequested();

private:
    void browseFolder(QLineEdit *edit);
    void checked();

    std::unique_ptr<Ui::SettingsDialog> m_ui;
    QFutureWatcher<QStringList> m_check;
};
