#pragma once

#include <QDialog>
#include <QPointer>
#include <QVector>

#include <memory>

namespace Ui {
class DialogSelectTableColumns;
}
class SaveDataBrowseModel;

// Chooses the columns of the measurement list. The choice is stored as the columns' header
// texts, so it is tied to the language of the run that stored it.
class SelectTableColumnsDialog : public QDialog
{
    Q_OBJECT

public:
    static const QString settingsKey;

    SelectTableColumnsDialog(SaveDataBrowseModel *model, QWidget *parent = nullptr);
    ~SelectTableColumnsDialog() override;

    // Columns in the order they were selected; empty once the model is gone.
    QVector<int> selectedColumns() const;
    void loadSelection();

public slots:
    void accept() override;

private:
    std::unique_ptr<Ui::DialogSelectTableColumns> m_ui;
    QPointer<SaveDataBrowseModel> m_model;
};
