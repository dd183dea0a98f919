#include "core/appidentity.h"
#include "spectrum/ramandata.h"
#include "ui/browsermainwindow.h"
#include "ui/language.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    AppIdentity::apply();
    setupLanguage(&application);
    registerRamanDataMetaTypes();

    auto *window = new BrowserMainWindow;
    window->show();
    const int exitCode = application.exec();
    delete window;
    return exitCode;
}
