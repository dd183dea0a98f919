#include "identificationeval.h"
#include "testfiles.h"
#include "toolprocess.h"

#include <QTemporaryDir>
#include <QtTest>

// raman-cli cache and identify on a copy of the real reference library.
class TestCliLibrary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString rruff = TestFiles::testDataDir() + QStringLiteral("/rruff");
        m_queries = rruffQueries(rruff);
        if (m_queries.isEmpty())
            QSKIP("reference spectra not available");
        m_library = m_dir.filePath(QStringLiteral("library"));
        QVERIFY(copyLibraryFolder(rruff + QStringLiteral("/library"), m_library));
    }

    void cacheStates()
    {
        const QString missing = m_dir.filePath(QStringLiteral("missing"));
        ToolRun run
            = runTool(QStringLiteral("raman-cli"), {QStringLiteral("cache"), m_library, missing});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.out), m_library + QStringLiteral("\t763\tbuilt\n") + missing
                                                 + QStringLiteral("\t0\tfailed\n"));
        QVERIFY(run.err.contains("is not a folder"));

        run = runTool(QStringLiteral("raman-cli"), {QStringLiteral("cache"), m_library});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out), m_library + QStringLiteral("\t763\texisting\n"));
        run = runTool(QStringLiteral("raman-cli"),
                      {QStringLiteral("cache"), QStringLiteral("--rebuild"), m_library});
        QCOMPARE(QString::fromUtf8(run.out), m_library + QStringLiteral("\t763\trebuilt\n"));
    }

    void identifyNamesTheMineral_data()
    {
        QTest::addColumn<QString>("method");
        QTest::newRow("fingerprint") << QStringLiteral("fingerprint");
        QTest::newRow("correlation") << QStringLiteral("correlation");
    }

    void identifyNamesTheMineral()
    {
        QFETCH(QString, method);
        // Gypsum and baryte are among the queries that both methods name correctly.
        QStringList paths, minerals;
        for (const RruffQuery &query : qAsConst(m_queries)) {
            if ((query.mineral == QLatin1String("Gypsum")
                 || query.mineral == QLatin1String("Baryte"))
                && !minerals.contains(query.mineral)) {
                paths << query.path;
                minerals << query.mineral;
            }
        }
        QCOMPARE(minerals.size(), 2);
        const ToolRun run
            = runTool(QStringLiteral("raman-cli"),
                      QStringList{QStringLiteral("identify"), QStringLiteral("--library"),
                                  m_library, QStringLiteral("--method"), method,
                                  QStringLiteral("--top"), QStringLiteral("3")}
                          + paths);
        QCOMPARE(run.exitCode, 0);
        const QStringList lines
            = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 2 * 3);
        QCOMPARE(lines[0],
                 QStringLiteral("query\trank\tscore\tname\tnumber\trruff_id\tlibrary\tformula"));
        for (int q = 0; q < 2; ++q) {
            const QStringList best = lines[1 + 3 * q].split(QLatin1Char('\t'));
            QCOMPARE(best.size(), 8);
            QCOMPARE(best[0] + best[1] + best[3], paths[q] + QLatin1Char('1') + minerals[q]);
            QVERIFY(!best[7].isEmpty()); // the built-in chemistry knows both
            const double first = best[2].toDouble();
            const double third = lines[3 + 3 * q].split(QLatin1Char('\t'))[2].toDouble();
            QVERIFY(first >= third);
        }
    }

    void identifyRejectsBadInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown method")
            << QStringList{QStringLiteral("--method"), QStringLiteral("guess"),
                           QStringLiteral("x.txt")}
            << 2 << QStringLiteral("--method");
        QTest::newRow("bad background")
            << QStringList{QStringLiteral("--background"), QStringLiteral("magic"),
                           QStringLiteral("x.txt")}
            << 2 << QStringLiteral("--background");
        QTest::newRow("missing spectrum") << QStringList{QStringLiteral("no-such-file.txt")} << 1
                                          << QStringLiteral("cannot read");
    }

    void identifyRejectsBadInput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const ToolRun run = runTool(
            QStringLiteral("raman-cli"),
            QStringList{QStringLiteral("identify"), QStringLiteral("--library"), m_library}
                + arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    }

private:
    QTemporaryDir m_dir;
    QString m_library;
    QVector<RruffQuery> m_queries;
};

QTEST_GUILESS_MAIN(TestCliLibrary)
#include "tst_cli_library.moc"
