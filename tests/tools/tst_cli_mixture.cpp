#include "clirun.h"
#include "spectrum/spectrumfile.h"
#include "syntheticspectra.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QVector<QVector<SyntheticBand>> minerals{
    {{464, 1.0, 4}, {206, 0.4, 6}, {128, 0.3, 4}},
    {{1086, 1.0, 3}, {282, 0.4, 5}, {712, 0.2, 3}, {155, 0.3, 4}},
    {{660, 1.0, 5}, {300, 0.5, 4}, {1350, 0.3, 6}},
    {{985, 1.0, 3}, {230, 0.6, 5}, {830, 0.35, 4}},
};

CliRun mixture(const QStringList &arguments)
{
    return runCliHere(QStringList{QStringLiteral("mixture")} + arguments);
}

} // namespace

class TestCliMixture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_library = m_dir.filePath(QStringLiteral("library"));
        for (int i = 0; i < minerals.size(); ++i)
            QVERIFY(TestFiles::write(
                m_library
                    + QStringLiteral("/Mineral%1__R%1__Raman__532__0__unoriented__Raman_Data_"
                                     "Processed__%1.txt")
                          .arg(10 + i),
                spectrumText(syntheticSpectrum(minerals[i], quint32(i), 0.002, 50, 1800, 1.0))));
        QVector<SyntheticBand> bands = minerals[1];
        for (const SyntheticBand &band : minerals[2])
            bands.append({band.position, 0.8 * band.height, band.hwhm});
        m_mixture = m_dir.filePath(QStringLiteral("mixture.txt"));
        QVERIFY(TestFiles::write(m_mixture,
                                 spectrumText(syntheticSpectrum(bands, 99, 0.004, 60, 1800, 1.0))));
    }

    void findsThePairOfAMixture()
    {
        const CliRun run = mixture(
            {m_mixture, QStringLiteral("--library"), m_library, QStringLiteral("--top=3")});
        QCOMPARE(run.code, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("rank\tscore\tname_1\tnumber_1\tname_2\tnumber_2"));
        const QStringList best = lines[1].split(QLatin1Char('\t'));
        QCOMPARE((QStringList{best[0]} + best.mid(2)).join(QLatin1Char(' ')),
                 QStringLiteral("1 Mineral11 11 Mineral12 12"));
        QVERIFY(best[1].toDouble() > lines[2].split(QLatin1Char('\t'))[1].toDouble() - 1e-9);
        QVERIFY(run.err.contains(QStringLiteral("searched 16 combinations of 4 spectra")));

        const auto fit = mixture({m_mixture, QStringLiteral("--library"), m_library,
                                  QStringLiteral("--method=fit"), QStringLiteral("--top=1")});
        QCOMPARE(fit.code, 0);
        const QStringList rows = fit.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0], QStringLiteral("rank\tunexplained\tfrom\tto\tname_1\tnumber_1\t"
                                         "fraction_1\tname_2\tnumber_2\tfraction_2"));
        const QStringList first = rows[1].split(QLatin1Char('\t'));
        QStringList names{first[4], first[7]};
        names.sort();
        QCOMPARE(names.join(QLatin1Char(' ')), QStringLiteral("Mineral11 Mineral12"));
        QVERIFY(first[1].toDouble() < 0.05);
        QVERIFY(qAbs(first[6].toDouble() + first[9].toDouble() - 1.0) < 0.01);
    }

    void refusesBadInput_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("no spectrum") << "" << 2 << "expected exactly one SPECTRUM";
        QTest::newRow("missing file") << "NOFILE" << 1 << "cannot read";
        QTest::newRow("flat spectrum") << "FLAT" << 1 << "has no peaks";
        QTest::newRow("empty library") << "MIXTURE --library=EMPTY" << 1 << "holds no spectra";
        QTest::newRow("fit, flat spectrum")
            << "FLAT --method=fit --library=LIB" << 1 << "no answer";
        QTest::newRow("unknown method") << "MIXTURE --method=guess" << 2 << "unknown --method";
        QTest::newRow("four components")
            << "MIXTURE --method=fit --components=4" << 2 << "needs 2 or 3";
    }

    void refusesBadInput()
    {
        QFETCH(QString, options);
        QFETCH(int, code);
        QFETCH(QString, message);
        const QString flat = m_dir.filePath(QStringLiteral("flat.txt"));
        QVERIFY(TestFiles::write(flat, spectrumText(syntheticSpectrum({}, 1, 0.0))));
        const QString empty = m_dir.filePath(QStringLiteral("empty"));
        QDir().mkpath(empty);
        options.replace(QStringLiteral("MIXTURE"), m_mixture)
            .replace(QStringLiteral("NOFILE"), m_dir.filePath(QStringLiteral("none.txt")))
            .replace(QStringLiteral("FLAT"), flat)
            .replace(QStringLiteral("EMPTY"), empty)
            .replace(QStringLiteral("LIB"), m_library);
        const CliRun run = mixture(options.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        QCOMPARE(run.code, code);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

private:
    QTemporaryDir m_dir;
    QString m_library, m_mixture;
};

QTEST_GUILESS_MAIN(TestCliMixture)
#include "tst_cli_mixture.moc"
