#pragma once

// Runs a raman-cli command line in this process.

#include "clicommand.h"
#include "testfiles.h"

struct CliRun
{
    int code = 0;
    QString out, err;
};

// `arguments` follow the program name.
inline CliRun runCliHere(const QStringList &arguments)
{
    CliRun result;
    QTextStream out(&result.out), err(&result.err);
    result.code = runCli(QStringList{S("raman-cli")} + arguments, out, err);
    out.flush();
    err.flush();
    return result;
}
