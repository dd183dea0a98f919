// Identification quality on the RRUFF queries: top-1 and top-5 hit rates of both search methods
// with the settings a fresh analysis starts with.
#include "identificationeval.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(
        QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    const QString rruff = QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff");
    const QVector<RruffQuery> queries = rruffQueries(rruff);
    if (queries.isEmpty()) {
        std::fprintf(stderr, "no queries found below %s\n", qPrintable(rruff));
        return 1;
    }
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("library"));
    copyLibraryFolder(rruff + QStringLiteral("/library"), folder);
    RLibrary library;
    LibraryPath path;
    path.path = folder;
    library.setLibraryFolders({path});
    library.readLibraryFromDisk();
    std::printf("%d library spectra, %d queries\n", library.count(), int(queries.size()));

    const struct
    {
        const char *name;
        unsigned flags;
    } methods[] = {{"fingerprint", RLibrary::FingerprintSearch},
                   {"correlation", RLibrary::NormalizeToUnitNorm},
                   {"auto", RLibrary::ChooseSearchMethod}};
    for (const auto &method : methods) {
        QElapsedTimer timer;
        timer.start();
        const IdentificationRates r = identificationRates(library, queries, method.flags);
        std::printf("%-12s top-1 %3d/%d (%.1f%%)  top-5 %3d/%d (%.1f%%)  searched %d  %.0f ms\n",
                    method.name, r.top1, r.queries, 100.0 * r.top1 / r.queries, r.top5, r.queries,
                    100.0 * r.top5 / r.queries, r.searched, double(timer.elapsed()));
    }
    return 0;
}
