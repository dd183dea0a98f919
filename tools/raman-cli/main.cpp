#include "clicommand.h"

#include "core/appidentity.h"
#include "core/logging.h"
#include "spectrum/ramandata.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QTranslator>

#include <cstdio>

#include <unistd.h>

int main(int argc, char *argv[])
{
    // Saving paints summary pages, which needs fonts and so a GUI application; the tool never
    // shows a window, so it runs without a display unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Batch machines often have no runtime folder; make the private one Qt would otherwise warn
    // about on every run.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray runtime
            = QDir::tempPath().toLocal8Bit() + "/raman-cli-runtime-" + QByteArray::number(getuid());
        if (QDir().mkpath(QString::fromLocal8Bit(runtime))
            && QFile::setPermissions(QString::fromLocal8Bit(runtime),
                                     QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            qputenv("XDG_RUNTIME_DIR", runtime);
    }
    QGuiApplication application(argc, argv);
    // Without a desktop there is no configured font size; the page layout is made for about 9 pt.
    QFont font = QGuiApplication::font();
    font.setPointSize(9);
    QGuiApplication::setFont(font);
    AppIdentity::apply();
    QCoreApplication::setApplicationVersion(QStringLiteral(RAMAN_VERSION));
    registerRamanDataMetaTypes();
    // Progress messages would drown the results unless asked for.
    QStringList arguments = QCoreApplication::arguments();
    Logging::configure(arguments.removeAll(QStringLiteral("--verbose")) > 0);

    // Messages of the libraries are German source texts; the tool speaks English. The report
    // command chooses its own language for the captions it prints.
    QTranslator english;
    if (arguments.value(1) != QLatin1String("report")
        && english.load(QStringLiteral(":/translations/en_GB.qm")))
        QCoreApplication::installTranslator(&english);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = runCli(arguments, out, err);
    out.flush();
    err.flush();
    return code;
}
