#include "core/appidentity.h"
#include "core/logging.h"
#include "spectrum/ramandata.h"
#include "ui/browsermainwindow.h"
#include "ui/language.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    AppIdentity::apply();
    Logging::configure();
    // Ties the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("raman-browser"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("raman-browser"),
                         QIcon(QStringLiteral(":/icons/app/raman-browser-64.png"))));
    setupLanguage(&application);
    registerRamanDataMetaTypes();

    auto *window = new BrowserMainWindow;
    window->show();
    // Spectrum files named on the command line (or dropped on the program) open for analysis.
    const QStringList files = application.arguments().mid(1);
    for (const QString &file : files)
        window->analyseSpectrumFile(file);
    const int exitCode = application.exec();
    delete window;
    return exitCode;
}
