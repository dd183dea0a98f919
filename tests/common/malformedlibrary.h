#pragma once

// The malformed library spectra seen in the field, for tests that put them beside good ones.

#include "library/librarycache.h"
#include "spectrum/spectrumfile.h"

#include <QFile>
#include <QtEndian>

namespace MalformedLibrary {

// Text spectra whose x has a NaN (it passes an order check) and an absurd range.
inline const QVector<QPair<QString, QByteArray>> &textFiles()
{
    static const QVector<QPair<QString, QByteArray>> files{
        {QStringLiteral("Nanite__R901__Raman__532__0__unoriented__Raman_Data_Processed__901.txt"),
         QByteArrayLiteral("100 1\nnan 2\n200 3\n")},
        {QStringLiteral("Farite__R902__Raman__532__0__unoriented__Raman_Data_Processed__902.txt"),
         QByteArrayLiteral("0 1\n2500000000 2\n")}};
    return files;
}

// Overwrites the second x of the cache entry holding `data` in folder/cache.tar with 1.8e258,
// leaving the archive itself intact.
inline bool damageCacheEntry(const QString &folder, const RamanData<Wavenumbers> &data)
{
    QFile cache(LibraryCache::cachePath(folder));
    if (data.size() < 3 || !cache.open(QIODevice::ReadWrite))
        return false;
    const QByteArray bytes = cache.readAll();
    const int at = bytes.indexOf(LibraryCache::encodeEntry(data));
    if (at < 0)
        return false;
    QByteArray huge(8, '\0');
    qToBigEndian(1.8e258, huge.data());
    return cache.seek(at + 16) && cache.write(huge) == 8;
}

} // namespace MalformedLibrary
