#include "identificationeval.h"
#include "malformedlibrary.h"
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
        ToolRun run = cli({QStringLiteral("cache"), m_library, missing});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.out), m_library + QStringLiteral("\t763\tbuilt\n") + missing
                                                 + QStringLiteral("\t0\tfailed\n"));
        QVERIFY(run.err.contains("is not a folder"));
        run = cli({QStringLiteral("cache"), m_library});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out), m_library + QStringLiteral("\t763\texisting\n"));
    }

    void identifyNamesTheMineral()
    {
        // Gypsum is among the queries that both methods name correctly.
        QString path;
        for (const RruffQuery &query : qAsConst(m_queries))
            if (path.isEmpty() && query.mineral == QLatin1String("Gypsum"))
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
        QCOMPARE(best[0] + best[1] + best[3], path + QStringLiteral("1Gypsum"));
        QVERIFY(best[2].toDouble() >= lines[3].split(QLatin1Char('\t'))[2].toDouble());

        QCOMPARE(
            cli(identify + QStringList{QStringLiteral("--method"), QStringLiteral("guess"), path})
                .exitCode,
            2);
        QVERIFY(cli(identify + QStringList{QStringLiteral("no-such-file.txt")})
                    .err.contains("cannot read"));
    }

    // The malformed spectra seen in the field hung or aborted the search; now they are skipped.
    void identifySkipsMalformedSpectra()
    {
        const QString text = m_dir.filePath(QStringLiteral("mixed text"));
        const QString cached = m_dir.filePath(QStringLiteral("mixed cache"));
        const QDir library(m_library);
        QString calcite;
        for (const char *mineral : {"Gypsum", "Quartz", "Calcite"}) {
            const QString file
                = library.entryList({QLatin1String(mineral) + QStringLiteral("__*.txt")}).value(0);
            QVERIFY(!file.isEmpty());
            const QString to = (*mineral == 'C' ? cached : text) + QLatin1Char('/') + file;
            QVERIFY(QDir().mkpath(QFileInfo(to).path()) && QFile::copy(library.filePath(file), to));
            if (*mineral == 'C')
                calcite = to;
        }
        const QString quartz = library.entryList({QStringLiteral("Quartz__*.txt")}).value(0);
        QVERIFY(QFile::copy(library.filePath(quartz), cached + QLatin1Char('/') + quartz));
        for (const auto &file : MalformedLibrary::textFiles())
            QVERIFY(TestFiles::write(text + QLatin1Char('/') + file.first, file.second));
        ToolRun run = cli({QStringLiteral("cache"), text, cached});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out),
                 text + QStringLiteral("\t2\tbuilt\n") + cached + QStringLiteral("\t2\tbuilt\n"));
        QVERIFY(run.err.contains("Nanite") && run.err.contains("Farite"));
        QVERIFY(MalformedLibrary::damageCacheEntry(cached, loadSpectrumFromCSV(calcite)));

        const QString query
            = m_queries
                  .value(std::find_if(m_queries.cbegin(), m_queries.cend(),
                                      [](const RruffQuery &q) {
                                          return q.mineral == QLatin1String("Gypsum");
                                      })
                         - m_queries.cbegin())
                  .path;
        run = cli({QStringLiteral("identify"), QStringLiteral("--library"), text,
                   QStringLiteral("--library"), cached, QStringLiteral("--top"),
                   QStringLiteral("5"), query});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines
            = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 3);
        QCOMPARE(lines[1].section(QLatin1Char('\t'), 3, 3), QStringLiteral("Gypsum"));
        QVERIFY2(run.err.contains("Skipping library spectrum Calcite"), run.err.constData());
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

QTEST_GUILESS_MAIN(TestCliLibrary)
#include "tst_cli_library.moc"
