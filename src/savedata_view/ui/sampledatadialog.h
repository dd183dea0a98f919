#pragma once

#include "storage/savedatarecords.h"

#include <QDialog>

#include <memory>

namespace Ui {
class GetSampleDataDialog;
}
class DateSelectDialog;

// Edits the sample part of a measurement's metadata and remembers the last owner, collection,
// location and date format as defaults for the next sample.
class SampleDataDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxRemarkLength = 300;

    explicit SampleDataDialog(QWidget *parent = nullptr);
    ~SampleDataDialog() override;

    void setData(const SaveDataMetadata &metadata);
    // A copy of `metadata` with the form's values written into it.
    SaveDataMetadata data(const SaveDataMetadata &metadata) const;
    bool wasAccepted() const { return m_accepted; }

public slots:
    void accept() override;

private:
    void applyDateFormat();
    void takeChosenDate();
    void limitRemark();
    void loadDefaults();
    void storeDefaults() const;

    std::unique_ptr<Ui::GetSampleDataDialog> m_ui;
    DateSelectDialog *m_dateDialog = nullptr;
    bool m_accepted = false;
};
