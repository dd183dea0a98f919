// A library folder's cache.tar, read entry by entry and in batches, then decoded, re-binned and
// fingerprinted as the library loader does.
#include "fuzzlibrary.h"

#include "library/librarycache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString folder = Fuzz::freshFolder();
    if (!Fuzz::write(LibraryCache::cachePath(folder), data, size))
        return 0;
    QVector<LibraryCache::CacheEntry> entries;
    LibraryCache::readCacheEntries(folder, entries);
    int batched = 0;
    LibraryCache::readCacheInBatches(folder, 3, [&batched](const auto &batch) {
        Fuzz::check(batch.size() <= 3, "batches keep their size");
        batched += batch.size();
    });
    Fuzz::check(batched == entries.size(), "batches hold every entry");
    for (const LibraryCache::CacheEntry &entry : qAsConst(entries)) {
        parseSpectrumName(entry.name);
        Fuzz::prepareAsLibrary(LibraryCache::decodeEntry(entry.data));
    }
    return 0;
}
