// The list of installable library sources.
#include "fuzzcommon.h"

#include "library/install/librarysources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::freshFolder() + QStringLiteral("/library-sources.json");
    if (!Fuzz::write(path, data, size))
        return 0;
    LibrarySources::readList(path);
    const QVector<LibraryPath> libraries = LibrarySources::installableLibraries(path);
    for (const LibraryPath &library : libraries) {
        LibrarySources::readableName(library, QStringLiteral("de_DE"));
        Fuzz::check(library.path.isEmpty() || LibrarySources::isInstallFolder(library.path),
                    "an installable library lives in an install folder");
    }
    LibrarySources::licenceText(LibrarySources::vendorIds(libraries),
                                QStringLiteral("${VENDOR_WEBSITE} ${VENDOR_LICENSE}"), path);
    return 0;
}
