#include "testfiles.h"
#include "widgets/geometryrestore.h"

#include <QtTest>
#include <QtWidgets>

class TestGeometryRestore : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void storesTheLastSizeAndRestoresItOnFirstShow()
    {
        QWidget widget;
        new GeometryRestore(&widget, S("W"));
        widget.resize(100, 100); // hidden: not stored
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        for (int i = 1; i <= 10; ++i)
            widget.resize(200 + i, 150);
        QTRY_VERIFY(!QSettings().allKeys().isEmpty());

        QWidget next;
        new GeometryRestore(&next, S("W"));
        next.show();
        QCOMPARE(next.size(), QSize(210, 150));
        next.hide();
        next.resize(120, 130);
        next.show();
        QCOMPARE(next.size(), QSize(120, 130));
    }
};

QTEST_MAIN(TestGeometryRestore)
#include "tst_geometryrestore.moc"
