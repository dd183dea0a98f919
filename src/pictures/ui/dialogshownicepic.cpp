#include "pictures/ui/dialogshownicepic.h"

#include "pictures/ui/nicepicwidget.h"
#include "widgets/geometryrestore.h"

#include "ui_dialogshownicepic.h"

DialogShowNicePic::DialogShowNicePic(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::DialogShowNicePic>())
{
    new GeometryRestore(this, QStringLiteral("DialogShowNicePic"));
    m_ui->setupUi(this);
}

DialogShowNicePic::~DialogShowNicePic() = default;

NicePicWidget *DialogShowNicePic::widget() const
{
    return m_ui->widget;
}

void DialogShowNicePic::setMineral(const QString &name)
{
    m_ui->widget->setMineral(name);
    m_ui->widget->setCurrentNumber(1);
}
