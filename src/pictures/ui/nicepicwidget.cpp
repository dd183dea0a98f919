#include "pictures/ui/nicepicwidget.h"

#include "core/logging.h"
#include "pictures/nicepicinfos.h"

#include "ui_nicepicwidget.h"

#include <QSignalBlocker>
#include <QUrl>

#include <algorithm>

NicePicWidget::NicePicWidget(QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::NicePicWidget>())
{
    m_ui->setupUi(this);
    connect(m_ui->previous, &QPushButton::clicked, m_ui->current, &QSpinBox::stepDown);
    connect(m_ui->next, &QPushButton::clicked, m_ui->current, &QSpinBox::stepUp);
    connect(m_ui->current, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int value) { setIndex(value - 1); });
    connect(m_ui->buttonDelete, &QPushButton::clicked, this, &NicePicWidget::deleteShown);
}

NicePicWidget::~NicePicWidget() = default;

int NicePicWidget::pictureCount() const
{
    // An empty name would match every file of the store.
    return m_mineral.isEmpty() ? 0 : NicePicInfos().pictureCount(m_mineral);
}

void NicePicWidget::setMineral(const QString &name)
{
    m_mineral = name;
    setIndex(0);
    const int count = pictureCount();
    m_ui->current->setSuffix(QStringLiteral(" / %1").arg(count));
    m_ui->current->setMaximum(count);
    // With no pictures the minimum wins and the box stays at 1.
    m_ui->current->setMinimum(1);
}

void NicePicWidget::setIndex(int index)
{
    const int count = pictureCount();
    qCDebug(logUiGeneral) << "setIndex index, available" << index << count;
    if (index >= 0 && index < count) {
        showInfo(NicePicInfos().loadFromFolder(m_mineral, index));
        emit indexChanged(index);
    } else {
        showInfo(NicePicInfo());
    }
}

void NicePicWidget::showInfo(const NicePicInfo &info)
{
    m_info = info;
    // Nothing to step through or delete; a missing picture would show as a broken one.
    const bool none = pictureCount() == 0;
    for (QWidget *control :
         {static_cast<QWidget *>(m_ui->current), static_cast<QWidget *>(m_ui->previous),
          static_cast<QWidget *>(m_ui->next)})
        control->setEnabled(!none);
    m_ui->buttonDelete->setEnabled(!none && m_deleteAllowed);
    if (none) {
        m_html = tr("<p><i>Für %1 ist noch kein Bild gespeichert.</i></p>")
                     .arg(m_mineral.toHtmlEscaped());
        m_ui->textBrowser->setHtml(m_html);
        return;
    }
    QString remark = info.remark;
    remark.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    const int width = int(m_ui->textBrowser->width() * 0.9);
    const int shown = m_ui->current->value() - 1;
    const QString picture = NicePicInfos().picturePath(m_mineral, shown);

    // Texts of the record go in as they stand; a remark may carry markup on purpose.
    m_html
        = QStringLiteral("<h1 style=\"color: #5e9ca0;margin-left: 3cm;\">%1</h1><br>\n")
              .arg(m_mineral)
          + QStringLiteral("<figure>\n")
          + QStringLiteral("<img src=\"%1\" width=\"%2\" alt=\"%3_%4\">\n")
                .arg(QUrl::fromLocalFile(picture).toString(QUrl::FullyEncoded),
                     QString::number(width), info.mineral_name, QString::number(shown))
          + QStringLiteral("<figcaption>\n<TABLE>\n")
          + QStringLiteral("<tr><td>%1</td><td>&copy; %2</td></tr><br>\n")
                .arg(tr("Copyright: "), info.pic_copyright)
          + QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n").arg(tr("Fundort: "), info.locality)
          + QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
                .arg(tr("Sammlung: "), info.collection)
          + QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n").arg(tr("Anmerkung: "), remark)
          + QStringLiteral("</TABLE>\n</figcaption>\n</figure>\n");
    m_ui->textBrowser->setHtml(m_html);
}

int NicePicWidget::currentNumber() const
{
    return m_ui->current->value();
}

void NicePicWidget::setCurrentNumber(int number)
{
    m_ui->current->setValue(number);
}

void NicePicWidget::setPictureCount(int count)
{
    m_ui->current->setMaximum(count);
    m_ui->current->setSuffix(QStringLiteral("/%1").arg(count));
    m_ui->current->setMinimum(1);
}

void NicePicWidget::setDeleteEnabled(bool enabled)
{
    m_deleteAllowed = enabled;
    m_ui->buttonDelete->setEnabled(enabled && pictureCount() > 0);
}

void NicePicWidget::deleteShown()
{
    const int number = m_ui->current->value();
    if (m_mineral.isEmpty() || !NicePicInfos().removePicture(m_mineral, number - 1))
        return;
    // The spin box keeps its number, which now belongs to the next picture, or steps back to
    // the new last one; the record and the picture shown always have the same number.
    {
        const QSignalBlocker blocker(m_ui->current);
        setPictureCount(pictureCount());
    }
    setIndex(m_ui->current->value() - 1);
}

void NicePicWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    showInfo(m_info);
}
