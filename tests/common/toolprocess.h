#pragma once

// Runs one of the project's executables from the build tree and collects its output.

#include "testfiles.h"

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline ToolRun runTool(const QString &name, const QStringList &arguments)
{
    QProcess process;
    process.start(S(RAMAN_BINARY_DIR "/bin/") + name, arguments);
    ToolRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
