#include "librarycopy.h"
#include "testfiles.h"
#include "toolprocess.h"

#include "spectrum/spectrumfile.h"

#include <QtTest>

// raman-cli cache and identify on a copy of the real reference library.
class TestCliIdentify : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString rruff = TestFiles::rruffDir();
        // Calcite is among the queries that every method names correctly.
        const QDir queries(rruff + S("/queries"));
        m_calcite = queries.filePath(queries.entryList({S("Calcite__*")}).value(0));
        QVERIFY(QFileInfo(m_calcite).isFile());
        m_library = m_dir.filePath(S("library"));
        QVERIFY(copyLibraryFolder(rruff + S("/library"), m_library));
    }

    void cacheStates()
    {
        const QString missing = m_dir.filePath(S("missing"));
        ToolRun run = cli({S("cache"), m_library, missing});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.out),
                 m_library + S("\t145\tbuilt\n") + missing + S("\t0\tfailed\n"));
        QVERIFY(run.err.contains("is not a folder"));
        run = cli({S("cache"), m_library});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out), m_library + S("\t145\texisting\n"));
    }

    void identifyNamesTheMineral()
    {
        const QStringList identify{S("identify"), S("--library"), m_library};
        const ToolRun run = cli(
            identify + QStringList{S("--method"), S("fingerprint"), S("--top"), S("3"), m_calcite});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines
            = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 3);
        const QStringList best = lines[1].split(QLatin1Char('\t'));
        QCOMPARE(best[0] + best[1] + best[3], m_calcite + S("1Calcite"));
        QVERIFY(best[2].toDouble() >= lines[3].split(QLatin1Char('\t'))[2].toDouble());

        // The same query as JCAMP-DX over wavelengths of a 532 nm laser (formats:
        // tst_spectrumimport).
        const RamanData<Wavenumbers> query = loadSpectrumFromCSV(m_calcite);
        QByteArray jcamp(
            "##TITLE=Calcite\n##JCAMP-DX=5.01\n##XUNITS=NANOMETERS\n##XYPOINTS=(XY..XY)\n");
        for (int i = 0; i < query.size(); ++i)
            jcamp += QByteArray::number(1e7 / (1e7 / 532 - query.x[i]), 'g', 12) + ", "
                     + QByteArray::number(query.y[i], 'g', 12) + '\n';
        const QString file = m_dir.filePath(S("query.jdx"));
        QVERIFY(TestFiles::write(file, jcamp + "##END=\n"));
        const QStringList found
            = QString::fromUtf8(
                  cli(identify + QStringList{S("--top"), S("1"), S("--laser"), S("532"), file}).out)
                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(found.size(), 2);
        const QStringList hit = found[1].split(QLatin1Char('\t'));
        QCOMPARE(hit[0] + hit[1] + hit[3], file + S("1Calcite"));
    }

    void mineralMethod_data()
    {
        // File content (none: the Calcite query; "-": no file) and the message on stderr.
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("answer") << QByteArray() << QByteArray();
        QTest::newRow("flat") << QByteArray("100 5\n101 5\n102 5\n") << QByteArray("is flat");
        QTest::newRow("one point") << QByteArray("500, 1\n") << QByteArray("too few points");
        QTest::newRow("NaN") << QByteArray("100 1\n101 nan\n102 1\n") << QByteArray("NaN");
        QTest::newRow("outside") << QByteArray("9000 1\n9001 5\n9002 1\n") << QByteArray("short");
        QTest::newRow("no file") << QByteArray("-") << QByteArray("cannot read");
    }

    // Default method: the answer's first row has the confidence; no answer, a row "uncertain".
    void mineralMethod()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, message);
        const QString path = content.isEmpty()
                                 ? m_calcite
                                 : m_dir.filePath(QLatin1String(QTest::currentDataTag()));
        QVERIFY(content.size() < 2 || TestFiles::write(path, content));
        const ToolRun run
            = cli({S("identify"), S("--library"), m_library, S("--top"), S("2"), path});
        const QStringList lines
            = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(run.exitCode, message.isEmpty() ? 0 : 1);
        QVERIFY2(run.err.contains(message), run.err.constData());
        QCOMPARE(lines.size(), message.isEmpty() ? 3 : 2);
        QVERIFY(lines[0].endsWith(QLatin1String("\tformula\tconfidence")));
        const QStringList first = lines[1].split(QLatin1Char('\t'));
        QCOMPARE(first.size(), 9);
        QCOMPARE(first[0] + first[3], path + QLatin1String(message.isEmpty() ? "Calcite" : ""));
        QVERIFY(message.isEmpty()
                    ? lines[2].endsWith(QLatin1String("\t-")) && first[8] != QLatin1String("-")
                    : first[8] == QLatin1String("uncertain"));
    }

private:
    static ToolRun cli(const QStringList &arguments) { return runTool(S("raman-cli"), arguments); }

    QTemporaryDir m_dir;
    QString m_library;
    QString m_calcite;
};

QTEST_GUILESS_MAIN(TestCliIdentify)
#include "tst_cli_identify.moc"
