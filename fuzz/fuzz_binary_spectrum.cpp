// The binary spectrum form: (x, y) pairs of doubles, read by a stream and by the cache decoder.
// The raw pairs also go to the numerics unchecked, which must refuse what they cannot handle.
#include "fuzzlibrary.h"

#include "library/librarycache.h"

#include <QDataStream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::environment();
    const QByteArray input = Fuzz::bytes(data, size);
    QDataStream stream(input);
    RamanData<Wavenumbers> streamed;
    stream >> streamed;
    Fuzz::check(streamed.size() == int(size / 16), "every whole pair is read");
    Fuzz::prepareAsLibrary(LibraryCache::decodeEntry(input));

    const RamanData<Wavenumbers> resampled = streamed.resampled(librarySearchStep);
    Fuzz::check(resampled.size() <= (1 << 22) + 1, "re-binning is bounded");
    RamanData<Wavenumbers> cut = streamed;
    cut.cut(100, 1000);
    streamed.smoothed(2, 5).normalized();
    return 0;
}
