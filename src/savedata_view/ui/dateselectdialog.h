#pragma once

#include <QDate>
#include <QDialog>

#include <memory>

namespace Ui {
class DialogDate;
}

// A calendar for picking the find date of a sample.
class DateSelectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DateSelectDialog(QWidget *parent = nullptr);
    ~DateSelectDialog() override;

    // The shown year and month with the selected day; invalid when that day does not exist in
    // the shown month.
    QDate date() const;

private:
    void confirm();

    std::unique_ptr<Ui::DialogDate> m_ui;
};
