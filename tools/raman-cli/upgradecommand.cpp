#include "upgradecommand.h"

#include "clicommand.h"

#include "report/summarypage.h"
#include "storage/backup.h"
#include "storage/savedata.h"
#include "storage/savedatafiles.h"

#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct FolderHeader
{
    bool readable = false;
    int version = 0;
    int sectors = 0;
    QString problem;
};

// Read apart from SaveData::load, which takes malformed JSON for an empty measurement: re-saving
// that would replace the folder with an empty one.
FolderHeader readHeader(const QString &folder)
{
    QFile file(folder + QLatin1Char('/') + SaveDataFiles::metadataFileName());
    if (!file.open(QIODevice::ReadOnly))
        return {false, 0, 0, file.errorString()};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {false, 0, 0, error.errorString()};
    const QJsonObject json = document.object();
    return {true,
            json.value(QStringLiteral("save_data_version")).toInt(),
            int(json.value(QStringLiteral("sectors")).toArray().size()),
            {}};
}

bool isInside(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// Every measurement folder at or below `root`, sorted, except those in the backup area: they are
// the record of what was there and stay as they are.
QStringList measurementFolders(const QString &root)
{
    const QString backups = QDir::cleanPath(QFileInfo(backupRoot()).absoluteFilePath());
    QStringList folders;
    for (QDirIterator it(root, {SaveDataFiles::metadataFileName()}, QDir::Files | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString folder = QFileInfo(it.next()).absolutePath();
        if (!isInside(folder, backups))
            folders << QDir::cleanPath(folder);
    }
    folders.sort();
    return folders;
}

} // namespace

int runUpgradeCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Re-saves every measurement folder below DIR whose format version is below %1, in "
            "place; "
            "the new version is written beside the old one and read back, the old one is "
            "copied into the backup area, and only then are the two swapped.\n"
            "Prints one line per such folder: path, old version and result (upgraded, failed, "
            "unreadable, or dry-run with --dry-run), separated by tabs. Exit code 1 when any "
            "folder "
            "could not be upgraded.")
            .arg(CurrentSaveDataVersion));
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("folders to search"),
                                 QStringLiteral("DIR..."));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    QStringLiteral("only list the folders, change nothing"));
    parser.addOption(dryRun);
    if (const auto done = parseCommandLine(parser, "upgrade", arguments, 1, -1, "DIR", out, err))
        return *done;
    const QStringList roots = parser.positionalArguments();
    for (const QString &root : roots) {
        if (!QFileInfo(root).isDir()) {
            err << "raman-cli upgrade: " << QDir::toNativeSeparators(root) << " is not a folder\n";
            return 2;
        }
    }

    bool anyFailed = false;
    for (const QString &root : roots) {
        for (const QString &folder : measurementFolders(root)) {
            const FolderHeader header = readHeader(folder);
            const QString path = QDir::toNativeSeparators(folder);
            if (!header.readable) {
                out << path << "\t?\tunreadable\n";
                err << "raman-cli upgrade: " << path << ": " << header.problem << '\n';
                anyFailed = true;
                continue;
            }
            if (header.version >= CurrentSaveDataVersion)
                continue;
            QString result = QStringLiteral("dry-run");
            if (!parser.isSet(dryRun)) {
                SaveData data;
                const QFileInfo info(folder);
                // A file that could not be read would be missing from the new version.
                const bool loaded
                    = data.load(folder, AllSaveDataParts) && data.loadProblems().isEmpty();
                const bool saved
                    = loaded && data.save(info.path(), info.fileName(), summaryPagesPdf);
                for (const QString &problem : data.loadProblems())
                    err << "raman-cli upgrade: cannot read " << problem << '\n';
                if (loaded && !saved)
                    err << "raman-cli upgrade: " << data.lastSaveError() << '\n';
                result = saved ? QStringLiteral("upgraded") : QStringLiteral("failed");
                anyFailed = anyFailed || !saved;
                const int dropped = header.sectors - data.nonEmptySectorCount();
                if (saved && dropped > 0) {
                    err << "raman-cli upgrade: " << path << ": " << dropped
                        << " empty measuring point(s) not written; the backup keeps them\n";
                }
            }
            out << path << '\t' << header.version << '\t' << result << '\n';
            out.flush();
        }
    }
    return anyFailed ? 1 : 0;
}
