#pragma once

// Small helpers for tests that build files and folders by hand; with them QtTest and QtCore.

#include <QtTest>

// UTF-8 text as a QString, short enough to keep test tables on one line.
inline QString S(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// The next warnings include one matching the regular expression `pattern`.
inline void expectWarning(const char *pattern)
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QString::fromUtf8(pattern)));
}

namespace TestFiles {

inline bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool writeJson(const QString &path, const QJsonObject &object)
{
    return write(path, QJsonDocument(object).toJson());
}

// The real RRUFF subset in the repository, for everyday tests.
inline QString rruffDir()
{
    return QStringLiteral(RAMAN_REPO_DATA_DIR "/rruff");
}

// A query that every search method names correctly, and its library.
inline QString calciteQuery()
{
    return rruffDir()
           + QStringLiteral("/queries/Calcite__R040170__Raman__532__0__unoriented__Raman_Data_"
                            "Processed__20886.txt");
}
inline QString rruffLibrary()
{
    return rruffDir() + QStringLiteral("/library");
}

// A folder of the large shared data sets, or an empty string: skipped in the everyday run of a
// test that has a separate quality run, or missing.
inline QString sharedDataDir(const QString &sub, QString *why)
{
    const QString dir = QString::fromLocal8Bit(RAMAN_TEST_DATA_DIR) + QLatin1Char('/') + sub;
    if (qEnvironmentVariableIsSet("RAMAN_SKIP_QUALITY"))
        *why = QStringLiteral("runs in ") + qEnvironmentVariable("RAMAN_SKIP_QUALITY");
    else if (!QFileInfo(dir).isDir())
        *why = QStringLiteral("needs the folder ") + dir + QStringLiteral(", which is missing");
    return why->isEmpty() ? dir : QString();
}

} // namespace TestFiles

// Declares `variable` as the shared data folder `sub`, or skips the test function.
#define RAMAN_SHARED_DATA(variable, sub)                                                           \
    QString variable##Why;                                                                         \
    const QString variable = TestFiles::sharedDataDir(QStringLiteral(sub), &variable##Why);        \
    if (variable.isEmpty())                                                                        \
    QSKIP(qPrintable(variable##Why))
