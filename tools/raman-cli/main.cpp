#include "clicommand.h"

#include "core/appidentity.h"
#include "spectrum/ramandata.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    AppIdentity::apply();
    QCoreApplication::setApplicationVersion(QStringLiteral(RAMAN_VERSION));
    registerRamanDataMetaTypes();
    // Progress messages would drown the results; QT_LOGGING_RULES can bring them back.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = runCli(QCoreApplication::arguments(), out, err);
    out.flush();
    err.flush();
    return code;
}
