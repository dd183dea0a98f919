#include "nicepicstore.h"

#include "testfiles.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

class TestNicePicInfos : public QObject
{
    Q_OBJECT

    QString file(const char *name) const { return m_store.path(QLatin1String(name)); }

private slots:
    void init() { m_store.clear(); }

    void pictureNumber()
    {
        QCOMPARE(NicePicInfos::pictureNumber(QStringLiteral("Quartz_12.jpg")), 12);
        QCOMPARE(NicePicInfos::pictureNumber(QStringLiteral("Azurite__3.json")), 3);
        QCOMPARE(NicePicInfos::pictureNumber(QStringLiteral("Quartz.jpg")), -1);
        QCOMPARE(NicePicInfos::pictureNumber(QStringLiteral("Quartz_1.jpg.bak")), -1);
    }

    void counting()
    {
        const NicePicInfos store = m_store.store();
        QCOMPARE(store.pictureCount(QStringLiteral("Quartz")), 0);
        for (int n : {0, 1, 2})
            m_store.add(QStringLiteral("Quartz"), n, Qt::red);
        m_store.add(QStringLiteral("Calcite"), 0, Qt::red);
        QCOMPARE(store.pictureCount(QStringLiteral("Quartz")), 3);

        // A gap counts up to the highest number, with a warning; records alone count nothing.
        QVERIFY(QFile::remove(file("NicePicJpg/Quartz_1.jpg")));
        QTest::ignoreMessage(QtWarningMsg, "numbering of pictures seems odd, counts: 2 2");
        QCOMPARE(store.pictureCount(QStringLiteral("Quartz")), 3);
        QVERIFY(QFile::remove(file("NicePicJpg/Quartz_0.jpg")));
        QVERIFY(QFile::remove(file("NicePicJpg/Quartz_2.jpg")));
        QCOMPARE(store.pictureCount(QStringLiteral("Quartz")), 0);
    }

    void records()
    {
        const NicePicInfo info{QStringLiteral("version 1.0"), QStringLiteral("Quartz"),
                               QStringLiteral("A"),           QStringLiteral("Sammlung Ost"),
                               QStringLiteral("B"),           QStringLiteral("CC-BY <i>Huber</i>"),
                               QStringLiteral("Gotthard"),    QStringLiteral("zwei\nZeilen"),
                               QStringLiteral("Quartz_4"),    4};
        QVERIFY(NicePicInfos::writeInfo(file("NicePicJson/Quartz_4.json"), info));
        QCOMPARE(m_store.store().loadFromFolder(QStringLiteral("Quartz"), 4), info);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^no metadata.json")));
        QCOMPARE(m_store.store().loadFromFolder(QStringLiteral("Quartz"), 0), NicePicInfo());
        // A file where the folder must go.
        QVERIFY(TestFiles::write(file("blocked"), "x"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^could not write")));
        QVERIFY(!NicePicInfos::writeInfo(file("blocked/Quartz_0.json"), info));
    }

    void removalRenumbers_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QVector<int>>("left"); // the original numbers, in their new order
        QTest::newRow("first") << 0 << QVector<int>{1, 2, 3};
        QTest::newRow("last") << 3 << QVector<int>{0, 1, 2};
    }

    void removalRenumbers()
    {
        QFETCH(int, index);
        QFETCH(QVector<int>, left);
        const QColor colors[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
        for (int n = 0; n < 4; ++n)
            m_store.add(QStringLiteral("Quartz"), n, colors[n]);
        const NicePicInfos store = m_store.store();
        QVERIFY(store.removePicture(QStringLiteral("Quartz"), index));
        QCOMPARE(store.pictureCount(QStringLiteral("Quartz")), 3);
        QVERIFY(!QFile::exists(file("NicePicJson/Quartz_3.json")));
        for (int n = 0; n < 3; ++n) {
            const QImage picture(store.picturePath(QStringLiteral("Quartz"), n));
            QVERIFY(TestPictureStore::sameColor(picture, colors[left.at(n)]));
            // The description moved with its picture.
            QCOMPARE(store.loadFromFolder(QStringLiteral("Quartz"), n).pic_copyright,
                     QStringLiteral("owner %1").arg(left.at(n)));
        }
    }

private:
    TestPictureStore m_store;
};

QTEST_MAIN(TestNicePicInfos)
#include "tst_nicepicinfos.moc"
