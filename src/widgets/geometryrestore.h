#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QSplitter;
class QWidget;

// Gives a window or dialog a remembered position and size: restores it from the settings group
// `name` on the first show and writes it back 50 ms after the last move or resize, together with
// the section sizes of every splitter inside.
class GeometryRestore : public QObject
{
    Q_OBJECT

public:
    GeometryRestore(QWidget *widget, const QString &name);

    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    void restoreGeometry();
    void saveGeometry();

private:
    static void collectSplitters(const QObject *parent, QList<QSplitter *> &splitters);

    QPointer<QWidget> m_widget;
    QString m_name;
    QTimer m_timer;
    bool m_restoring = false;
    bool m_restored = false;
};
