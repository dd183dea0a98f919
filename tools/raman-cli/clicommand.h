#pragma once

#include <QStringList>
#include <QTextStream>

// One subcommand of raman-cli: reads its arguments (without the program and command names),
// writes results to `out` and problems to `err`, returns the process exit code.
struct CliCommand
{
    const char *name;
    const char *summary;
    int (*run)(const QStringList &arguments, QTextStream &out, QTextStream &err);
};

// All subcommands, in the order --help lists them.
const QVector<CliCommand> &cliCommands();

// Runs the whole command line (arguments[0] is the program name).
int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err);
