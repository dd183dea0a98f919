#pragma once

#include "report/reportgenerator.h"

#include <QDialog>

#include <memory>

namespace Ui {
class DialogGenerateReport;
}

// Asks for the compiler, template, logo and target file of the report of one measuring point;
// stays open after a failure, showing the errors, so the user can correct and try again.
class GenerateReportDialog : public QDialog
{
    Q_OBJECT

public:
    GenerateReportDialog(const SaveData &data, int row, QWidget *parent = nullptr);
    ~GenerateReportDialog() override;

private:
    void browseCompiler();
    void browseTemplate();
    void browseLogo();
    void saveReport();
    QString suggestedTarget(const SaveData &data, int row) const;

    std::unique_ptr<Ui::DialogGenerateReport> m_ui;
    ReportGenerator m_generator;
    int m_row;
    QString m_suggestedTarget;
};
