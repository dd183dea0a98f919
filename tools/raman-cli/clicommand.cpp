#include "clicommand.h"

#include "cachecommand.h"
#include "ccdcommand.h"
#include "evaluatecommand.h"
#include "identifycommand.h"
#include "infocommand.h"
#include "librarycommand.h"
#include "listcommand.h"
#include "mixturecommand.h"
#include "processcommand.h"
#include "reportcommand.h"
#include "spectruminput.h"
#include "upgradecommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>

const QVector<CliCommand> &cliCommands()
{
    static const QVector<CliCommand> commands{
        {"info", "print a measurement folder as JSON", &runInfoCommand},
        {"upgrade", "re-save old measurement folders in the current format", &runUpgradeCommand},
        {"process", "run the processing pipeline over a spectrum file", &runProcessCommand},
        {"convert", "write a spectrum file in the program's text layout", &runConvertCommand},
        {"ccd", "turn a raw camera frame into a spectrum", &runCcdCommand},
        {"list", "list the measurements below a folder as TSV", &runListCommand},
        {"cache", "build the caches of reference library folders", &runCacheCommand},
        {"identify", "search spectra against the reference library", &runIdentifyCommand},
        {"library", "list, download and install reference libraries", &runLibraryCommand},
        {"mixture", "search the reference library for pairs of minerals", &runMixtureCommand},
        {"evaluate", "measure how well the searches name known minerals", &runEvaluateCommand},
        {"report", "write the PDF report of a measuring point", &runReportCommand},
    };
    return commands;
}

namespace {

void printUsage(QTextStream &out)
{
    out << "Usage: raman-cli COMMAND [OPTIONS]\n"
           "Batch access to Raman measurement folders, spectra and reference libraries.\n\n"
           "Commands:\n";
    for (const CliCommand &command : cliCommands())
        out << "  " << QString::fromLatin1(command.name).leftJustified(12) << command.summary
            << '\n';
    out << "\nOptions:\n"
           "  -h, --help     show this help; COMMAND --help shows the command's own\n"
           "  -v, --version  show the version\n"
           "  --verbose      also print progress and notes such as missing optional files\n";
}

} // namespace

std::optional<int> parseCommandLine(QCommandLineParser &parser, const char *command,
                                    const QStringList &arguments, int minimum, int maximum,
                                    const char *name, QTextStream &out, QTextStream &err)
{
    const QString program = QStringLiteral("raman-cli ") + QLatin1String(command);
    parser.addHelpOption();
    if (!parser.parse(QStringList{program} + arguments)) {
        err << program << ": " << parser.errorText() << '\n';
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        // The parser names the executable; the user typed the command too.
        QString help = parser.helpText();
        const int usageEnd = help.indexOf(QLatin1String(" [options]"));
        if (help.startsWith(QLatin1String("Usage: ")) && usageEnd > 0)
            help.replace(7, usageEnd - 7, program);
        out << help;
        return 0;
    }
    const int count = parser.positionalArguments().size();
    if (count < minimum || (maximum >= 0 && count > maximum)) {
        err << program << ": expected " << (minimum == maximum ? "exactly one " : "at least one ")
            << name << '\n';
        return 2;
    }
    return std::nullopt;
}

int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const QString first = arguments.value(1);
    if (first.isEmpty()) {
        printUsage(err);
        return 2;
    }
    if (first == QLatin1String("-h") || first == QLatin1String("--help")) {
        printUsage(out);
        return 0;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        out << "raman-cli " << QCoreApplication::applicationVersion() << '\n';
        return 0;
    }
    for (const CliCommand &command : cliCommands()) {
        if (first == QLatin1String(command.name))
            return command.run(arguments.mid(2), out, err);
    }
    err << "raman-cli: unknown command '" << first << "'; see raman-cli --help\n";
    return 2;
}
