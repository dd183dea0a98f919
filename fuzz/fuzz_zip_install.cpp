// Installing a downloaded library archive: whatever the archive holds, nothing may be written
// outside the library folder.
#include "fuzzcommon.h"

#include "library/install/libraryarchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString run = Fuzz::freshFolder();
    const QString folder = run + QStringLiteral("/libraries/target");
    QDir().mkpath(folder);
    QDir().mkpath(run + QStringLiteral("/libraries/neighbour"));
    if (!Fuzz::write(LibraryArchive::downloadPath(folder), data, size))
        return 0;
    const QString handler = size % 2 ? QStringLiteral("chsopensource") : QString();
    LibraryArchive::installLibraryArchive(folder, handler, [](const QString &, int) {});
    for (QDirIterator it(run, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        const bool allowed = path.startsWith(folder + QLatin1Char('/')) || path == folder
                             || path == run + QStringLiteral("/libraries")
                             || path == run + QStringLiteral("/libraries/neighbour");
        if (!allowed)
            std::fprintf(stderr, "written outside the library folder: %s\n", qPrintable(path));
        Fuzz::check(allowed, "nothing is written outside the library folder");
    }
    return 0;
}
