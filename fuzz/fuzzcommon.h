#pragma once

// Shared set-up of the fuzz targets: a quiet core application, a scratch folder per process and
// the checks that turn a silent fault into a finding.

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace Fuzz {

inline void dropMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

struct Environment
{
    Environment()
    {
        qInstallMessageHandler(dropMessages);
        static int argc = 1;
        static char name[] = "fuzz";
        static char *argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
        QStandardPaths::setTestModeEnabled(true);
        if (!scratch.isValid())
            std::abort();
    }
    QCoreApplication *app = nullptr;
    QTemporaryDir scratch;
};

inline Environment &environment()
{
    static Environment e;
    return e;
}

// An empty folder below the scratch folder, emptied again on the next call.
inline QString freshFolder()
{
    const QString path = environment().scratch.path() + QStringLiteral("/run");
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

inline bool write(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
           && file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size);
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), int(size));
}

// A finding the sanitizers cannot see: a broken promise of the code under test.
inline void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

} // namespace Fuzz
