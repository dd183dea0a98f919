#include "reportcommand.h"

#include "clicommand.h"

#include "core/logging.h"
#include "report/reportgenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>

namespace {

// The report's captions and dates follow the program's language setting, as in the dialog.
// Only a language that was asked for explicitly is worth a note when it has no translation.
void installLanguage(const QString &requested, QTextStream &err)
{
    const QString locale = requested.isEmpty() ? QLocale::system().name() : requested;
    QLocale::setDefault(QLocale(locale));
    if (locale == QLatin1String("de_DE"))
        return;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/translations/%1.qm").arg(locale)))
        QCoreApplication::installTranslator(translator);
    else if (!requested.isEmpty())
        err << "raman-cli report: no translation for " << locale << ", German captions used\n";
}

QString configuredCompiler()
{
    const QString configured = ReportGenerator::texCompilerPath();
    return configured.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("pdflatex"))
                                : configured;
}

QString reportFileName(const QString &base, int point)
{
    return QStringLiteral("%1_Location%2.pdf").arg(base).arg(point);
}

} // namespace

int runReportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the PDF report of a measuring point of the measurement FOLDER through pdflatex "
        "(setting pdflatexExecutablePath, else pdflatex on PATH). Prints one line per written "
        "report: point number, tab, file."));
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("measurement folder"));
    const QCommandLineOption pointOption(QStringLiteral("point"),
                                         QStringLiteral("measuring point to report (default 1)"),
                                         QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption allOption(QStringLiteral("all-points"),
                                       QStringLiteral("one report per measuring point"));
    const QCommandLineOption outputOption(
        QStringList{QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("target file (default FOLDERNAME_LocationN.pdf in the current folder); "
                       "with --all-points, _LocationN.pdf replaces its .pdf"),
        QStringLiteral("OUT.pdf"));
    const QCommandLineOption templateOption(
        QStringLiteral("template"), QStringLiteral("LaTeX template instead of the built-in one"),
        QStringLiteral("FILE"));
    const QCommandLineOption logoOption(QStringLiteral("logo"),
                                        QStringLiteral("logo picture instead of the built-in one"),
                                        QStringLiteral("FILE"));
    const QCommandLineOption languageOption(
        QStringLiteral("language"),
        QStringLiteral("language of captions and dates, e.g. de_DE or en_GB (default: the "
                       "program's language setting)"),
        QStringLiteral("LOCALE"));
    parser.addOptions(
        {pointOption, allOption, outputOption, templateOption, logoOption, languageOption});
    if (const auto done = parseCommandLine(parser, "report", arguments, 1, 1, "FOLDER", out, err))
        return *done;
    bool numeric = false;
    const int point = parser.value(pointOption).toInt(&numeric);
    if (!numeric || point < 1) {
        err << "raman-cli report: --point needs a measuring point number from 1 on\n";
        return 2;
    }
    if (parser.isSet(pointOption) && parser.isSet(allOption)) {
        err << "raman-cli report: give either --point or --all-points\n";
        return 2;
    }

    // The command prints the generator's error texts itself; QT_LOGGING_RULES still wins.
    if (!Logging::isVerbose())
        QLoggingCategory::setFilterRules(
            QStringLiteral("*.debug=false\n*.info=false\ndata.io.warning=false"));

    const QString folder = parser.positionalArguments().constFirst();
    SaveData data;
    if (!data.load(folder, AllSaveDataParts)) {
        err << "raman-cli report: " << QDir::toNativeSeparators(folder)
            << " is not a measurement folder (no readable metadata.json)\n";
        return 1;
    }
    const QString language
        = parser.isSet(languageOption)
              ? parser.value(languageOption)
              : QSettings().value(QStringLiteral("ApplicationLanguage")).toString();
    installLanguage(language, err);

    ReportGenerator generator(data);
    generator.setLogoAndTemplate(parser.value(logoOption), parser.value(templateOption));
    generator.setCompilerPath(configuredCompiler());

    QVector<int> points;
    if (parser.isSet(allOption)) {
        for (int n = 1; n <= data.sectorCount(); ++n)
            points.append(n);
        if (points.isEmpty()) {
            err << "raman-cli report: the measurement has no measuring points\n";
            return 1;
        }
    } else {
        points.append(point);
    }

    QString base = QFileInfo(data.folderPath()).fileName();
    if (parser.isSet(outputOption)) {
        base = parser.value(outputOption);
        if (parser.isSet(allOption) && base.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            base.chop(4);
    }

    bool allWritten = true;
    for (const int n : points) {
        const QString target = parser.isSet(outputOption) && !parser.isSet(allOption)
                                   ? base
                                   : reportFileName(base, n);
        if (generator.generate(target, n - 1)) {
            out << n << '\t' << QDir::toNativeSeparators(target) << '\n';
            continue;
        }
        allWritten = false;
        const QStringList errors = generator.errors();
        for (const QString &error : errors)
            err << "raman-cli report: point " << n << ": " << error << '\n';
    }
    return allWritten ? 0 : 1;
}
