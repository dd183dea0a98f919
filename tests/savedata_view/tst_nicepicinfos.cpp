#include "nicepicstore.h"

#include "testfiles.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QtTest>

class TestNicePicInfos : public QObject
{
    Q_OBJECT

    QString jpg(const char *name) const
    {
        return m_store.path(QStringLiteral("NicePicJpg/") + QLatin1String(name));
    }
    QString json(const char *name) const
    {
        return m_store.path(QStringLiteral("NicePicJson/") + QLatin1String(name));
    }

private slots:
    void init() { m_store.clear(); }

    void pictureNumber_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::newRow("numbered") << "Quartz_12.jpg" << 12;
        QTest::newRow("record") << "Quartz_0.json" << 0;
        QTest::newRow("pigment name") << "Azurite__3.jpg" << 3;
        QTest::newRow("blank in the name") << "Prussian blue_7.jpg" << 7;
        QTest::newRow("no number") << "Quartz.jpg" << -1;
        QTest::newRow("underscore only") << "Quartz_.jpg" << -1;
        QTest::newRow("second extension") << "Quartz_1.jpg.bak" << -1;
        QTest::newRow("working copy") << "temp.jpg" << -1;
    }

    void pictureNumber()
    {
        QFETCH(QString, name);
        QFETCH(int, number);
        QCOMPARE(NicePicInfos::pictureNumber(name), number);
    }

    void paths()
    {
        const NicePicInfos store(QStringLiteral("/pics/"));
        QCOMPARE(store.picturePath(QStringLiteral("Quartz"), 2),
                 QStringLiteral("/pics//NicePicJpg/Quartz_2.jpg"));
        QCOMPARE(store.recordPath(QStringLiteral("Quartz"), 0),
                 QStringLiteral("/pics//NicePicJson/Quartz_0.json"));
        QCOMPARE(store.workingCopyPath(), QStringLiteral("/pics//NicePicJpg/temp.jpg"));
    }

    void counting()
    {
        const NicePicInfos store = m_store.store();
        QCOMPARE(store.pictureCount(QStringLiteral("Quartz")), 0);
        for (int n : {0, 1, 2})
            m_store.add(QStringLiteral("Quartz"), n, Qt::red);
        m_store.add(QStringLiteral("Calcite"), 0, Qt::red);
        QCOMPARE(store.pictureCount(QStringLiteral("Quartz")), 3);
        QCOMPARE(store.pictureCount(QStringLiteral("Calcite")), 1);

        // A gap counts up to the highest number, with a warning.
        QVERIFY(QFile::remove(jpg("Quartz_1.jpg")));
        QTest::ignoreMessage(QtWarningMsg, "numbering of pictures seems odd, counts: 2 2");
        QCOMPARE(store.pictureCount(QStringLiteral("Quartz")), 3);

        // Descriptions without pictures do not count.
        QVERIFY(QFile::remove(jpg("Quartz_2.jpg")));
        QVERIFY(QFile::remove(jpg("Quartz_0.jpg")));
        QCOMPARE(store.pictureCount(QStringLiteral("Quartz")), 0);
    }

    void records()
    {
        NicePicInfo info;
        info.mineral_name = QStringLiteral("Quartz");
        info.author = QStringLiteral("A");
        info.collection = QStringLiteral("Sammlung Ost");
        info.pic_owner = QStringLiteral("B");
        info.pic_copyright = QStringLiteral("CC-BY <i>Huber</i>");
        info.locality = QStringLiteral("Gotthard");
        info.remark = QStringLiteral("zwei\nZeilen");
        info.filename = QStringLiteral("Quartz_4");
        info.mineral_pic_number = 4;
        const QString file = json("Quartz_4.json");
        QVERIFY(NicePicInfos::writeInfo(file, info));
        QCOMPARE(m_store.store().loadFromFolder(QStringLiteral("Quartz"), 4), info);

        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QJsonObject object = QJsonDocument::fromJson(written.readAll()).object();
        QCOMPARE(object.keys().size(), 10);
        QVERIFY(object.value(QStringLiteral("mineral_pic_number")).isDouble());
        QCOMPARE(object.value(QStringLiteral("version")).toString(), QStringLiteral("version 1.0"));

        QVERIFY(TestFiles::write(json("Quartz_5.json"), "{\"locality\": \"Uri\"}"));
        const NicePicInfo partial = m_store.store().loadFromFolder(QStringLiteral("Quartz"), 5);
        QCOMPARE(partial.locality, QStringLiteral("Uri"));
        QCOMPARE(partial.version, QString());
        QCOMPARE(partial.mineral_pic_number, 0);
    }

    void unreadableRecords()
    {
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^no metadata.json file for")));
        QCOMPARE(m_store.store().loadFromFolder(QStringLiteral("Quartz"), 0), NicePicInfo());

        QVERIFY(TestFiles::write(json("Quartz_1.json"), "not json"));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^unreadable json file for")));
        QCOMPARE(m_store.store().loadFromFolder(QStringLiteral("Quartz"), 1), NicePicInfo());

        // A file where the folder must go.
        QVERIFY(TestFiles::write(m_store.path(QStringLiteral("blocked")), "x"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^could not write")));
        QVERIFY(!NicePicInfos::writeInfo(m_store.path(QStringLiteral("blocked/Quartz_0.json")),
                                         NicePicInfo()));
    }

    void removalRenumbers_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QVector<int>>("left"); // the original numbers, in their new order
        QTest::newRow("first") << 0 << QVector<int>{1, 2, 3};
        QTest::newRow("middle") << 1 << QVector<int>{0, 2, 3};
        QTest::newRow("last") << 3 << QVector<int>{0, 1, 2};
    }

    void removalRenumbers()
    {
        QFETCH(int, index);
        QFETCH(QVector<int>, left);
        const QColor colors[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
        for (int n = 0; n < 4; ++n)
            m_store.add(QStringLiteral("Quartz"), n, colors[n]);
        m_store.add(QStringLiteral("Calcite"), 0, Qt::black);

        const NicePicInfos store = m_store.store();
        QVERIFY(store.removePicture(QStringLiteral("Quartz"), index));
        QCOMPARE(store.pictureCount(QStringLiteral("Quartz")), 3);
        QVERIFY(!QFile::exists(jpg("Quartz_3.jpg")));
        QVERIFY(!QFile::exists(json("Quartz_3.json")));
        for (int n = 0; n < 3; ++n) {
            QVERIFY(TestPictureStore::sameColor(
                QImage(store.picturePath(QStringLiteral("Quartz"), n)), colors[left.at(n)]));
            // The description moved with its picture and still says where it came from.
            QCOMPARE(store.loadFromFolder(QStringLiteral("Quartz"), n).pic_copyright,
                     QStringLiteral("owner %1").arg(left.at(n)));
        }
        QCOMPARE(store.pictureCount(QStringLiteral("Calcite")), 1);
    }

    void removalFailures()
    {
        const NicePicInfos store = m_store.store();
        m_store.add(QStringLiteral("Quartz"), 0, Qt::red);
        QTest::ignoreMessage(QtWarningMsg, "no such index: 1");
        QVERIFY(!store.removePicture(QStringLiteral("Quartz"), 1));
        QTest::ignoreMessage(QtWarningMsg, "no such index: -1");
        QVERIFY(!store.removePicture(QStringLiteral("Quartz"), -1));

        // The description is gone already: nothing else is touched.
        m_store.add(QStringLiteral("Quartz"), 1, Qt::green);
        m_store.add(QStringLiteral("Quartz"), 2, Qt::blue);
        QVERIFY(QFile::remove(json("Quartz_0.json")));
        QTest::ignoreMessage(QtWarningMsg, "numbering of pictures seems odd, counts: 2 2");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^could not remove qjson")));
        QVERIFY(!store.removePicture(QStringLiteral("Quartz"), 0));
        QVERIFY(QFile::exists(jpg("Quartz_0.jpg")));
        QVERIFY(QFile::exists(jpg("Quartz_2.jpg")));
    }

private:
    TestPictureStore m_store;
};

QTEST_MAIN(TestNicePicInfos)
#include "tst_nicepicinfos.moc"
