#pragma once

#include "pictures/nicepicinfo.h"

#include <QDialog>

#include <memory>

namespace Ui {
class NewMineralPicDialog;
}
class NicePicWidget;

// Adds pictures of a mineral to the picture store and edits their descriptions. Made once and
// reused for every mineral.
class NewMineralPicDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NewMineralPicDialog(QWidget *parent = nullptr);
    ~NewMineralPicDialog() override;

    // Switches to `name` and shows its last picture.
    void setMineral(const QString &name);
    QString mineral() const { return m_mineral; }
    NicePicWidget *widget() const;
    bool isModified() const { return m_modified; }

signals:
    // A picture or its description was written under this number.
    void infoNicePicChanged(int newindex);

protected:
    // Return and Enter neither accept nor close: the form is closed with its button only.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showRecordOf(int index);
    void takeForm();
    NicePicInfo recordFromForm(int number) const;
    void addNewPicture();
    void savePicture();
    void closeClicked();
    void reportNotSaved(const QString &path);

    std::unique_ptr<Ui::NewMineralPicDialog> m_ui;
    QString m_mineral;
    QString m_chosenPicture;
    NicePicInfo m_record;
    bool m_modified = false;
};
