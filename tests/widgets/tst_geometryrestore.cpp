#include "testfiles.h"
#include "widgets/geometryrestore.h"

#include <QtTest>
#include <QtWidgets>

namespace {

int g_saves = 0;
QtMessageHandler g_previous = nullptr;

// Every write is announced in the log.
void countSaves(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    g_saves += message.startsWith(QLatin1String("saving geometry:"));
    g_previous(type, context, message);
}

} // namespace

class TestGeometryRestore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { g_previous = qInstallMessageHandler(countSaves); }
    void init() { QSettings().clear(); }

    void writesOnceAfterResizesAndRestoresOnFirstShow()
    {
        QWidget widget;
        new GeometryRestore(&widget, S("W"));
        widget.resize(100, 100); // hidden: not stored
        g_saves = 0;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        for (int i = 1; i <= 10; ++i)
            widget.resize(200 + i, 150);
        QCOMPARE(g_saves, 0);
        QTRY_COMPARE(g_saves, 1);
        QTest::qWait(100);
        QCOMPARE(g_saves, 1);

        QWidget next;
        new GeometryRestore(&next, S("W"));
        next.show();
        QCOMPARE(next.size(), QSize(210, 150));
        next.hide();
        next.resize(120, 130);
        next.show();
        QCOMPARE(next.size(), QSize(120, 130));
    }

    void widgetGoneBeforeSaving()
    {
        auto *widget = new QWidget;
        auto *restore = new GeometryRestore(widget, S("Gone"));
        restore->setParent(nullptr);
        delete widget;
        QTest::ignoreMessage(QtWarningMsg,
                             "Widget destroyed before GeometryRestore object was destroyed");
        restore->saveGeometry();
        QVERIFY(QSettings().allKeys().isEmpty());
        delete restore;
    }
};

QTEST_MAIN(TestGeometryRestore)
#include "tst_geometryrestore.moc"
