#include "cachecommand.h"

#include "clicommand.h"

#include "library/librarycache.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

int runCacheCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds the cache.tar of each library folder DIR that has none (or every one, with "
        "--rebuild) and prints folder, spectra in the cache and what was done, as TSV."));
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("library folders"),
                                 QStringLiteral("DIR..."));
    const QCommandLineOption rebuild(QStringLiteral("rebuild"),
                                     QStringLiteral("replace existing caches"));
    const QCommandLineOption pigments(
        QStringLiteral("pigments"),
        QStringLiteral("map file names of the pigment collection onto the library scheme"));
    parser.addOptions({rebuild, pigments});
    if (const auto done = parseCommandLine(parser, "cache", arguments, 1, -1, "DIR", out, err))
        return *done;
    const QStringList folders = parser.positionalArguments();
    const SpectrumNameMapper mapper
        = parser.isSet(pigments) ? SpectrumNameMapper(&pigmentNameMapper) : SpectrumNameMapper();
    bool failed = false;
    for (const QString &argument : folders) {
        const QString folder = QDir::cleanPath(argument);
        const QString cache = LibraryCache::cachePath(folder);
        if (!QFileInfo(folder).isDir()) {
            err << "raman-cli cache: " << QDir::toNativeSeparators(folder) << " is not a folder\n";
            out << folder << "\t0\tfailed\n";
            failed = true;
            continue;
        }
        const bool existed = QFileInfo::exists(cache);
        if (existed && parser.isSet(rebuild) && !QFile::remove(cache)) {
            err << "raman-cli cache: cannot remove " << QDir::toNativeSeparators(cache) << '\n';
            out << folder << "\t0\tfailed\n";
            failed = true;
            continue;
        }
        QVector<LibraryCache::CacheEntry> entries;
        if (!LibraryCache::ensureCache(folder, mapper)
            || !LibraryCache::readCacheEntries(folder, entries)) {
            err << "raman-cli cache: cannot build or read " << QDir::toNativeSeparators(cache)
                << '\n';
            out << folder << "\t0\tfailed\n";
            failed = true;
            continue;
        }
        const char *done = !existed ? "built" : parser.isSet(rebuild) ? "rebuilt" : "existing";
        out << folder << '\t' << entries.size() << '\t' << done << '\n';
    }
    return failed ? 1 : 0;
}
