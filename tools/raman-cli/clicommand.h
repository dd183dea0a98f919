#pragma once

#include <QStringList>
#include <QTextStream>

#include <optional>

class QCommandLineParser;

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

// Parses a subcommand's arguments, answers --help and checks that between `minimum` and `maximum`
// (-1: any number) positional arguments named `name` were given. Returns the exit code when the
// command is done already (0 after the help, 2 after a usage error), else nothing.
std::optional<int> parseCommandLine(QCommandLineParser &parser, const char *command,
                                    const QStringList &arguments, int minimum, int maximum,
                                    const char *name, QTextStream &out, QTextStream &err);

// Runs the whole command line (arguments[0] is the program name).
int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err);
