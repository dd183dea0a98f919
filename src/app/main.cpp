#include "core/appidentity.h"
#include "spectrum/ramandata.h"
#include "ui/browsermainwindow.h"
#include "ui/language.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    AppIdentity::apply();
    // Ties the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("raman-browser"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("raman-browser"),
                         QIcon(QStringLiteral(":/icons/app/raman-browser-64.png"))));
    setupLanguage(&application);
    registerRamanDataMetaTypes();

    auto *window = new BrowserMainWindow;
    window->show();
    const int exitCode = application.exec();
    delete window;
    return exitCode;
}
