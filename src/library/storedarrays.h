#pragma once

#include "library/matching/fingerprint.h"

#include "core/logging.h"

#include <QDir>
#include <QIODevice>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVector>

// Plain arrays and fingerprints in the binary files of the user's cache folder (this machine
// only, so native byte order). Every read checks its count against a limit, so a damaged file
// never makes a huge allocation.
namespace StoredArrays {

template<typename T>
bool write(QIODevice &device, const QVector<T> &values)
{
    const qint64 bytes = qint64(values.size()) * qint64(sizeof(T));
    const qint32 count = values.size();
    return device.write(reinterpret_cast<const char *>(&count), sizeof count) == sizeof count
           && device.write(reinterpret_cast<const char *>(values.constData()), bytes) == bytes;
}

template<typename T>
bool read(QIODevice &device, QVector<T> &values, qint64 limit)
{
    qint32 count = -1;
    if (device.read(reinterpret_cast<char *>(&count), sizeof count) != sizeof count || count < 0
        || count > limit)
        return false;
    values.resize(count);
    const qint64 bytes = qint64(count) * qint64(sizeof(T));
    return device.read(reinterpret_cast<char *>(values.data()), bytes) == bytes;
}

inline bool writeFingerprints(QIODevice &device, const QVector<SpectrumFingerprint> &fingerprints)
{
    QVector<double> ranges;
    QVector<qint32> counts;
    QVector<FingerprintPeak> peaks;
    for (const SpectrumFingerprint &f : fingerprints) {
        ranges << f.xFirst << f.xLast << f.noise;
        counts.append(f.peaks.size());
        peaks += f.peaks;
    }
    return write(device, ranges) && write(device, counts) && write(device, peaks);
}

// Exactly `count` fingerprints, else false.
inline bool readFingerprints(QIODevice &device, int count,
                             QVector<SpectrumFingerprint> &fingerprints)
{
    QVector<double> ranges;
    QVector<qint32> counts;
    QVector<FingerprintPeak> peaks;
    if (!read(device, ranges, 3 * qint64(count)) || ranges.size() != 3 * count
        || !read(device, counts, count) || counts.size() != count
        || !read(device, peaks, device.size()))
        return false;
    qint64 total = 0;
    for (const qint32 c : qAsConst(counts)) {
        if (c < 0)
            return false;
        total += c;
    }
    if (total != peaks.size())
        return false;
    fingerprints.resize(count);
    for (int i = 0, first = 0; i < count; first += counts[i], ++i) {
        SpectrumFingerprint &f = fingerprints[i];
        f.xFirst = ranges[3 * i];
        f.xLast = ranges[3 * i + 1];
        f.noise = ranges[3 * i + 2];
        f.peaks = peaks.mid(first, counts[i]);
    }
    return true;
}

// The file for one state of the libraries in a folder of the user's cache folder.
inline QString pathFor(const QString &folder, const QString &stateKey)
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QLatin1Char('/')
           + folder + QLatin1Char('/') + stateKey + QStringLiteral(".bin");
}

// Writes the file through `write` beside it first; a failure is no fault of the user's (the
// data is built again at the next start), so it is logged as info. Earlier states of the
// libraries are of no use any more: a few stay, for other sets of folders.
template<typename Write>
void store(const QString &path, Write write)
{
    const QDir folder(QFileInfo(path).path());
    folder.mkpath(QStringLiteral("."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !write(file) || !file.commit())
        qCInfo(logDataLibraries) << "cannot store" << path << file.errorString();
    const QStringList older
        = folder.entryList({QStringLiteral("*.bin")}, QDir::Files, QDir::Time).mid(4);
    for (const QString &old : older)
        QFile::remove(folder.filePath(old));
}

} // namespace StoredArrays
