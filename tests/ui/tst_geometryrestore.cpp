#include "ui/geometryrestore.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSettings>
#include <QSplitter>
#include <QtTest>

namespace {

int g_saves = 0;
QtMessageHandler g_previousHandler = nullptr;

// Counts the writes; the geometry keeper announces each one in its log.
void countSaves(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg && message.startsWith(QLatin1String("saving geometry:")))
        ++g_saves;
    g_previousHandler(type, context, message);
}

} // namespace

class TestGeometryRestore : public QObject
{
    Q_OBJECT

private:
    static QByteArray storedGeometry(const QString &name)
    {
        return QSettings().value(name + QStringLiteral("/Geometry")).toByteArray();
    }

private slots:
    void initTestCase() { g_previousHandler = qInstallMessageHandler(countSaves); }
    void cleanupTestCase() { qInstallMessageHandler(g_previousHandler); }

    void init()
    {
        QSettings().clear();
        g_saves = 0;
    }

    void firstShowWritesNothing()
    {
        QWidget widget;
        widget.resize(300, 200);
        new GeometryRestore(&widget, QStringLiteral("First"));
        widget.resize(310, 210); // hidden: not stored
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTest::qWait(120);
        QCOMPARE(g_saves, 0);
        QVERIFY(!QSettings().contains(QStringLiteral("First/Geometry")));
        QCOMPARE(widget.size(), QSize(310, 210));
    }

    void burstOfResizesIsWrittenOnce()
    {
        QWidget widget;
        new GeometryRestore(&widget, QStringLiteral("Burst"));
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTest::qWait(100);
        g_saves = 0;
        for (int i = 1; i <= 10; ++i)
            widget.resize(200 + 10 * i, 150 + 5 * i);
        QCOMPARE(g_saves, 0);
        QTRY_COMPARE(g_saves, 1);
        QTest::qWait(120);
        QCOMPARE(g_saves, 1);

        QWidget restored;
        restored.restoreGeometry(storedGeometry(QStringLiteral("Burst")));
        QCOMPARE(restored.size(), QSize(300, 200));
    }

    void restoresOnFirstShowOnly()
    {
        QWidget original;
        original.setGeometry(40, 50, 333, 222);
        QSettings().setValue(QStringLiteral("Again/Geometry"), original.saveGeometry());

        QWidget widget;
        widget.resize(100, 100);
        new GeometryRestore(&widget, QStringLiteral("Again"));
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QCOMPARE(widget.size(), QSize(333, 222));

        widget.hide();
        widget.resize(150, 120);
        widget.show();
        QCOMPARE(widget.size(), QSize(150, 120));
    }

    void nestedSplittersAreWrittenOuterFirst()
    {
        QWidget widget;
        auto *layout = new QHBoxLayout(&widget);
        auto *outer = new QSplitter(Qt::Horizontal);
        auto *inner = new QSplitter(Qt::Vertical);
        inner->addWidget(new QLabel(QStringLiteral("a")));
        inner->addWidget(new QLabel(QStringLiteral("b")));
        outer->addWidget(inner);
        outer->addWidget(new QLabel(QStringLiteral("c")));
        layout->addWidget(outer);
        // A separate window among the children is not searched.
        auto *tool = new QWidget(&widget, Qt::Window);
        new QSplitter(tool);

        auto *restore = new GeometryRestore(&widget, QStringLiteral("Splitters"));
        widget.resize(400, 300);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        outer->setSizes({150, 250});
        inner->setSizes({100, 200});
        restore->saveGeometry();

        QSettings settings;
        settings.beginGroup(QStringLiteral("Splitters"));
        QCOMPARE(settings.beginReadArray(QStringLiteral("splitters")), 2);
        const auto sizesText = [](const QSplitter *splitter) {
            QString text;
            for (int size : splitter->sizes())
                text += QString::number(size) + QLatin1Char(',');
            return text;
        };
        settings.setArrayIndex(0);
        QCOMPARE(settings.value(QStringLiteral("sizes")).toString(), sizesText(outer));
        QVERIFY(sizesText(outer).endsWith(QLatin1Char(',')));
        settings.setArrayIndex(1);
        QCOMPARE(settings.value(QStringLiteral("sizes")).toString(), sizesText(inner));
        settings.endArray();
        QVERIFY(settings.contains(QStringLiteral("Geometry")));
    }

    void savingAfterTheWidgetIsGoneOnlyWarns()
    {
        auto *widget = new QWidget;
        auto *restore = new GeometryRestore(widget, QStringLiteral("Gone"));
        restore->setParent(nullptr);
        delete widget;
        QTest::ignoreMessage(QtWarningMsg,
                             "Widget destroyed before GeometryRestore object was destroyed");
        restore->saveGeometry();
        QVERIFY(!QSettings().contains(QStringLiteral("Gone/Geometry")));
        delete restore;
    }
};

QTEST_MAIN(TestGeometryRestore)
#include "tst_geometryrestore.moc"
