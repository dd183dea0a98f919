// Writes the demo measurements and a small reference library of synthetic spectra.
#include "demowriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes demo measurement folders and a demo reference library."));
    parser.addHelpOption();
    const QCommandLineOption measurements(QStringLiteral("measurements"),
                                          QStringLiteral("folder for the measurements"),
                                          QStringLiteral("DIR"));
    const QCommandLineOption library(QStringLiteral("library"),
                                     QStringLiteral("folder for the reference library"),
                                     QStringLiteral("DIR"));
    parser.addOption(measurements);
    parser.addOption(library);
    parser.process(application);
    if (!parser.isSet(measurements) && !parser.isSet(library)) {
        std::fprintf(stderr, "raman-demo-data: give --measurements DIR and/or --library DIR\n");
        return 2;
    }

    DemoWriter writer(20261205);
    if (parser.isSet(measurements)) {
        const QString root = parser.value(measurements);
        for (const DemoMeasurement &m : demoMeasurements()) {
            if (!writer.writeMeasurement(root, m)) {
                std::fprintf(stderr, "raman-demo-data: failed to write below %s\n",
                             qPrintable(QDir::toNativeSeparators(root)));
                return 1;
            }
        }
    }
    if (parser.isSet(library) && !writer.writeLibrary(parser.value(library))) {
        std::fprintf(stderr, "raman-demo-data: failed to write the library\n");
        return 1;
    }
    return 0;
}
