#include "library/install/libraryarchive.h"

#include "core/logging.h"
#include "library/librarycache.h"
#include "library/spectrumname.h"

#include <KZip>
#include <KZipFileEntry>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <memory>

namespace LibraryArchive {

namespace {

// Names the installer itself keeps in the library folder.
bool isReservedName(const QString &name)
{
    return name == QLatin1String("data.zip") || name == QLatin1String("cache.tar")
           || name == QLatin1String("cache.tar.tmp");
}

// The path as stored in the archive, before KZip folds "..", "." and leading slashes away.
bool isSafeArchivePath(const QString &path)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\'))
        || drive.match(path).hasMatch())
        return false;
    const QStringList parts = path.split(QRegularExpression(QStringLiteral("[/\\\\]")));
    return !parts.contains(QStringLiteral("..")) && !parts.contains(QStringLiteral("."));
}

void collectUnsafeEntries(const KArchiveDirectory *directory, QStringList &unsafe)
{
    for (const QString &name : directory->entries()) {
        const KArchiveEntry *entry = directory->entry(name);
        const auto file = dynamic_cast<const KZipFileEntry *>(entry);
        if (entry->isDirectory())
            collectUnsafeEntries(static_cast<const KArchiveDirectory *>(entry), unsafe);
        else if (file && (!isSafeArchivePath(file->path()) || !file->symLinkTarget().isEmpty()))
            unsafe.append(file->path());
    }
}

bool copyEntry(const KArchiveFile *entry, const QString &target, const StatusReporter &report)
{
    // A link left at the target would redirect the write; a plain remove drops only the link.
    QFile::remove(target);
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        report(QStringLiteral("Failed to open '%1' for writing: %2").arg(target, out.errorString()),
               Error);
        return false;
    }
    const std::unique_ptr<QIODevice> in(entry->createDevice());
    if (!in || !in->isOpen()) {
        report(QStringLiteral("Failed to read '%1' from the archive").arg(entry->name()), Error);
        return false;
    }
    QByteArray buffer;
    while (!in->atEnd()) {
        buffer = in->read(1 << 16);
        if (buffer.isEmpty())
            break;
        if (out.write(buffer) != buffer.size()) {
            report(QStringLiteral("Failed to write '%1': %2").arg(target, out.errorString()),
                   Error);
            return false;
        }
    }
    return true;
}

} // namespace

QString downloadPath(const QString &folder)
{
    return folder + QStringLiteral("/data.zip");
}

bool isSafeEntryName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
           && !isReservedName(name);
}

bool installLibraryArchive(const QString &folder, const QString &installHandler,
                           const StatusReporter &report)
{
    const QString zipPath = downloadPath(folder);
    report(QStringLiteral("Extracting: %1").arg(zipPath), Info);
    KZip zip(zipPath);
    if (!zip.open(QIODevice::ReadOnly)) {
        report(QStringLiteral("Failed to open zip file '%1': %2").arg(zipPath, zip.errorString()),
               Error);
        return false;
    }

    QStringList unsafe;
    collectUnsafeEntries(zip.directory(), unsafe);
    const KArchiveDirectory *root = zip.directory();
    const QStringList top = root->entries();
    if (top.size() == 1 && root->entry(top.first())->isDirectory() && isSafeEntryName(top.first()))
        root = static_cast<const KArchiveDirectory *>(root->entry(top.first()));

    QVector<const KArchiveFile *> files;
    for (const QString &name : root->entries()) {
        const KArchiveEntry *entry = root->entry(name);
        if (!entry->isFile())
            continue;
        if (!isSafeEntryName(name)) {
            const auto file = dynamic_cast<const KZipFileEntry *>(entry);
            const QString path = file ? file->path() : name;
            if (!unsafe.contains(path))
                unsafe.append(path);
            continue;
        }
        files.append(static_cast<const KArchiveFile *>(entry));
    }
    if (!unsafe.isEmpty()) {
        for (const QString &path : qAsConst(unsafe))
            report(QStringLiteral("Refused archive entry '%1': its name would leave the library "
                                  "folder or replace the installer's own files")
                       .arg(path),
                   Error);
        return false;
    }

    for (const KArchiveFile *file : qAsConst(files)) {
        if (!copyEntry(file, folder + QLatin1Char('/') + file->name(), report))
            return false;
    }
    zip.close();

    report(QStringLiteral("Creating cache: '%1'").arg(folder), Info);
    // A cache left from an earlier installation would hide the new files.
    QFile::remove(LibraryCache::cachePath(folder));
    if (!LibraryCache::ensureCache(folder, nameMapperForInstallHandler(installHandler))) {
        report(QStringLiteral("Failed to create cache for '%1'").arg(folder), Error);
        return false;
    }
    report(QStringLiteral("Cache created for '%1'.").arg(folder), Info);
    return true;
}

} // namespace LibraryArchive
