#include "identificationeval.h"
#include "testfiles.h"
#include "toolprocess.h"

#include <QTemporaryDir>
#include <QtTest>

// raman-cli cache and identify on a copy of the real reference library.
class TestCliIdentify : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString rruff = TestFiles::rruffDir();
        m_queries = rruffQueries(rruff);
        m_library = m_dir.filePath(QStringLiteral("library"));
        QVERIFY(copyLibraryFolder(rruff + QStringLiteral("/library"), m_library));
    }

    void cacheStates()
    {
        const QString missing = m_dir.filePath(QStringLiteral("missing"));
        ToolRun run = cli({QStringLiteral("cache"), m_library, missing});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.out), m_library + QStringLiteral("\t145\tbuilt\n") + missing
                                                 + QStringLiteral("\t0\tfailed\n"));
        QVERIFY(run.err.contains("is not a folder"));
        run = cli({QStringLiteral("cache"), m_library});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out), m_library + QStringLiteral("\t145\texisting\n"));
    }

    void identifyNamesTheMineral()
    {
        // Calcite is among the queries that both methods name correctly.
        QString path;
        for (const RruffQuery &query : qAsConst(m_queries))
            if (path.isEmpty() && query.mineral == QLatin1String("Calcite"))
                path = query.path;
        QVERIFY(!path.isEmpty());
        const QStringList identify{QStringLiteral("identify"), QStringLiteral("--library"),
                                   m_library};
        const ToolRun run
            = cli(identify
                  + QStringList{QStringLiteral("--method"), QStringLiteral("fingerprint"),
                                QStringLiteral("--top"), QStringLiteral("3"), path});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines
            = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 3);
        QCOMPARE(lines[0],
                 QStringLiteral("query\trank\tscore\tname\tnumber\trruff_id\tlibrary\tformula"));
        const QStringList best = lines[1].split(QLatin1Char('\t'));
        QCOMPARE(best.size(), 8);
        QCOMPARE(best[0] + best[1] + best[3], path + QStringLiteral("1Calcite"));
        QVERIFY(best[2].toDouble() >= lines[3].split(QLatin1Char('\t'))[2].toDouble());

        QCOMPARE(
            cli(identify + QStringList{QStringLiteral("--method"), QStringLiteral("guess"), path})
                .exitCode,
            2);
        QVERIFY(cli(identify + QStringList{QStringLiteral("no-such-file.txt")})
                    .err.contains("cannot read"));
    }

private:
    static ToolRun cli(const QStringList &arguments)
    {
        return runTool(QStringLiteral("raman-cli"), arguments);
    }

    QTemporaryDir m_dir;
    QString m_library;
    QVector<RruffQuery> m_queries;
};

QTEST_GUILESS_MAIN(TestCliIdentify)
#include "tst_cli_identify.moc"
