#pragma once

#include "pictures/nicepicinfo.h"

#include <QWidget>

#include <memory>

namespace Ui {
class NicePicWidget;
}

// Browses the stored pictures of one mineral: a spin box with the 1-based picture number, the
// picture with its description, and a button that deletes the picture shown.
class NicePicWidget : public QWidget
{
    Q_OBJECT

public:
    explicit NicePicWidget(QWidget *parent = nullptr);
    ~NicePicWidget() override;

    void setMineral(const QString &name);
    QString mineral() const { return m_mineral; }
    // Loads and shows picture `index` (0-based); an empty record when there is no such picture.
    void setIndex(int index);
    void showInfo(const NicePicInfo &info);
    NicePicInfo shownInfo() const { return m_info; }
    QString shownHtml() const { return m_html; }

    // The picture number of the spin box, 1-based.
    int currentNumber() const;
    void setCurrentNumber(int number);
    // Limits the spin box to the pictures now stored.
    void setPictureCount(int count);
    void setDeleteEnabled(bool enabled);

signals:
    void indexChanged(int newIndex);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int pictureCount() const;
    void deleteShown();

    std::unique_ptr<Ui::NicePicWidget> m_ui;
    QString m_mineral;
    NicePicInfo m_info;
    QString m_html;
    bool m_deleteAllowed = true;
};
