// Writes the demo measurements from real reference spectra.
#include "demowriter.h"

#include "core/appidentity.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QJsonArray>
#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Saving paints summary pages, which needs fonts, but no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    AppIdentity::apply();
    // Saving logs each step; QT_LOGGING_RULES can bring the messages back.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes demo measurement folders made from the real spectra in DATA "
                       "(a folder with INDEX.csv, library/ and queries/)."));
    parser.addHelpOption();
    const QCommandLineOption measurements(QStringLiteral("measurements"),
                                          QStringLiteral("folder for the measurements"),
                                          QStringLiteral("DIR"));
    const QCommandLineOption data(QStringLiteral("data"),
                                  QStringLiteral("folder of the real spectra"),
                                  QStringLiteral("DATA"));
    parser.addOption(measurements);
    parser.addOption(data);
    parser.process(application);
    if (!parser.isSet(measurements) || !parser.isSet(data)) {
        std::fprintf(stderr, "raman-demo-data: give --measurements DIR and --data DATA\n");
        return 2;
    }

    DemoWriter writer(parser.value(data), 20261205);
    QString error;
    if (!writer.readData(&error)) {
        std::fprintf(stderr, "raman-demo-data: %s\n", qPrintable(error));
        return 2;
    }
    const QString root = parser.value(measurements);
    const QJsonArray list = writer.measurements();
    for (const QJsonValue &measurement : list) {
        if (!writer.writeMeasurement(root, measurement.toObject())) {
            std::fprintf(stderr, "raman-demo-data: failed to write below %s\n",
                         qPrintable(QDir::toNativeSeparators(root)));
            return 1;
        }
    }
    return 0;
}
