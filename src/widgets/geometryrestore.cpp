#include "widgets/geometryrestore.h"

#include "core/logging.h"

#include <QEvent>
#include <QSettings>
#include <QSplitter>
#include <QWidget>

GeometryRestore::GeometryRestore(QWidget *widget, const QString &name)
    : QObject(widget)
    , m_widget(widget)
    , m_name(name)
{
    m_timer.setInterval(50);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &GeometryRestore::saveGeometry);
    widget->installEventFilter(this);
}

bool GeometryRestore::eventFilter(QObject *watched, QEvent *event)
{
    if (m_restoring || watched != m_widget)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        if (!m_restored) {
            qCDebug(logUiGeneral) << "restoring geometry on show:" << m_name;
            restoreGeometry();
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (m_widget->isVisible()) {
            qCDebug(logUiGeneral) << "storing geometry on resize:" << m_name;
            m_timer.start();
        }
        break;
    default:
        break;
    }
    return false;
}

void GeometryRestore::restoreGeometry()
{
    qCDebug(logUiGeneral) << "restoring geometry:" << m_name;
    m_restoring = true;
    QSettings settings;
    settings.beginGroup(m_name);
    const QByteArray geometry = settings.value(QStringLiteral("Geometry")).toByteArray();
    if (m_widget && !geometry.isEmpty())
        m_widget->restoreGeometry(geometry);
    settings.endGroup();
    m_restoring = false;
    m_restored = true;
}

void GeometryRestore::saveGeometry()
{
    qCDebug(logUiGeneral) << "saving geometry:" << m_name
                          << (m_widget ? m_widget->geometry() : QRect());
    if (!m_widget) {
        qCWarning(logUiGeneral) << "Widget destroyed before GeometryRestore object was destroyed";
        return;
    }
    QSettings settings;
    settings.beginGroup(m_name);
    settings.setValue(QStringLiteral("Geometry"), m_widget->saveGeometry());

    QList<QSplitter *> splitters;
    collectSplitters(m_widget, splitters);
    settings.beginWriteArray(QStringLiteral("splitters"), splitters.size());
    for (int i = 0; i < splitters.size(); ++i) {
        settings.setArrayIndex(i);
        QString sizes;
        const QList<int> sectionSizes = splitters.at(i)->sizes();
        for (int size : sectionSizes)
            sizes += QString::number(size) + QLatin1Char(',');
        settings.setValue(QStringLiteral("sizes"), sizes);
    }
    settings.endArray();
    settings.endGroup();
}

void GeometryRestore::collectSplitters(const QObject *parent, QList<QSplitter *> &splitters)
{
    for (QObject *child : parent->children()) {
        if (auto *splitter = qobject_cast<QSplitter *>(child))
            splitters.append(splitter);
        const auto *widget = qobject_cast<const QWidget *>(child);
        if (!widget || !widget->isWindow())
            collectSplitters(child, splitters);
    }
}
