#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class DialogShowNicePic;
}
class NicePicWidget;

// Shows the stored pictures of one mineral.
class DialogShowNicePic : public QDialog
{
    Q_OBJECT

public:
    explicit DialogShowNicePic(QWidget *parent = nullptr);
    ~DialogShowNicePic() override;

    NicePicWidget *widget() const;
    // Shows the first picture of `name`.
    void setMineral(const QString &name);

private:
    std::unique_ptr<Ui::DialogShowNicePic> m_ui;
};
